#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

// Shows one picture stretched to the widget's size, drawn at the screen's
// device pixel ratio, so a fitted picture stays sharp on a HiDPI screen.
class PictureDisplay : public QWidget {
public:
    explicit PictureDisplay(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void clear();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QPixmap scaled_;  // the picture at the size last painted
};
