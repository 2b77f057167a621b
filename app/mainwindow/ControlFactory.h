#pragma once

#include <QString>
#include <QWidget>

// Makes a control the way every window of the program does: its design name
// as objectName, its caption or else its name as accessible name, its place
// in pixels inside its parent.
template <class T>
T* makeControl(QWidget* parent, const QString& name, const QString& caption, QRect place)
{
    auto* w = new T(parent);
    w->setObjectName(name);
    w->setAccessibleName(caption.isEmpty() ? name : caption);
    w->setGeometry(place);
    return w;
}

// The same, for controls whose constructor takes the caption.
template <class T>
T* makeCaptioned(QWidget* parent, const QString& name, const QString& caption, QRect place)
{
    auto* w = new T(caption, parent);
    w->setObjectName(name);
    w->setAccessibleName(caption.isEmpty() ? name : caption);
    w->setGeometry(place);
    return w;
}

// Twips of the window's design to pixels, at 15 twips a pixel, and back.
constexpr int kTwipsPerPixel = 15;
inline int toPixels(int twips) { return (twips + (twips >= 0 ? 7 : -7)) / kTwipsPerPixel; }
inline int toTwips(int pixels) { return pixels * kTwipsPerPixel; }
