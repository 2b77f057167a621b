#pragma once

#include <QString>
#include <QWidget>

// Makes a control that shows no text of its own (a picture box, a frame, a
// list, a text box) the way every window of the program does: its design name
// as objectName, `caption` or else that name as what a screen reader calls it,
// its place in pixels inside its parent.
template <class T>
T* makeControl(QWidget* parent, const QString& name, const QString& caption, QRect place)
{
    auto* w = new T(parent);
    w->setObjectName(name);
    w->setAccessibleName(caption.isEmpty() ? name : caption);
    w->setGeometry(place);
    return w;
}

// A control that shows text of its own (a label, a button, a check box, a
// titled frame), made with its caption. It gets no fixed accessible name: Qt
// then gives screen readers the text it shows, and keeps that current as the
// program changes it.
template <class T>
T* makeCaptioned(QWidget* parent, const QString& name, const QString& caption, QRect place)
{
    auto* w = new T(caption, parent);
    w->setObjectName(name);
    w->setGeometry(place);
    return w;
}

// Twips of the window's design to pixels, at 15 twips a pixel, and back.
constexpr int kTwipsPerPixel = 15;
inline int toPixels(int twips) { return (twips + (twips >= 0 ? 7 : -7)) / kTwipsPerPixel; }
inline int toTwips(int pixels) { return pixels * kTwipsPerPixel; }
