#pragma once

#include <QDateTime>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>

class CropFrame;
class Prompter;
class QLabel;
class QToolButton;
class ScreenGrabber;
class ViewerHost;

// The screen grab: a borderless window over the whole screen showing a
// dimmed photograph of it, on which the user frames a rectangle (drawn,
// moved, reshaped by eight handles) and then copies it, saves it into the
// picture list, or starts again. The main window is hidden before it opens
// and shown again when it closes.
class frmCopySrc : public QWidget {
    Q_OBJECT
public:
    frmCopySrc(ViewerHost& host, ScreenGrabber& grabber, Prompter& prompter, QWidget* parent = nullptr);
    ~frmCopySrc() override;

    // Waits 300 ms, so that the hidden main window has left the screen,
    // then runs Form_Load.
    void start();
    // Photographs the screen, writes "tmpsrc1.bmp" (as it is) and
    // "tmpsrc2.bmp" (dimmed) into the user folder and covers the screen.
    // When the screen cannot be read it says why and closes; false then.
    bool Form_Load();

    // Mouse handlers of the screen picture, positions in window coordinates.
    void Form_MouseDown(Qt::MouseButton button, QPointF pos);
    void Form_MouseMove(Qt::MouseButtons buttons, QPointF pos);
    void Form_MouseUp(Qt::MouseButton button, QPointF pos);
    void Form_DblClick();
    // 0 new selection, 1 copy, 2 save and add to the list, 3 quit.
    void Image2_Click(int index);

    QString mode() const { return sMode_; }
    QRectF selection() const;
    // The part of the screen photograph shown bright (the last repaint's frame).
    QRectF litArea() const { return lit_; }
    const QImage& photograph() const { return bright_; }

    // The clock that names saved grabs; tests set it.
    std::function<QDateTime()> now;

    // Controls, named as in the design.
    CropFrame* crop = nullptr;
    QLabel* lblPos = nullptr;
    QWidget* Picture1 = nullptr;
    QLabel* lblInfo = nullptr;
    std::array<QToolButton*, 4> Image2{};

signals:
    // The dimmed screen is shown and takes the mouse.
    void ready();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildToolbar();
    void connectFrame();
    void showSelection();
    void hideSelection();
    void DrawSelection();
    void PlaceToolbar();
    void updateLabel();
    // The framed pixels of the photograph; null (and the user told) when
    // nothing can be cut.
    QImage cutSelection();
    bool saveSelection();
    void Form_Unload();
    void removeWorkFiles();
    // Whether the picture list holds `path`.
    bool listed(const QString& path) const;

    ViewerHost& host_;
    ScreenGrabber& grabber_;
    Prompter& prompter_;
    QImage bright_;
    QImage dim_;
    double ratio_ = 1;
    QRectF lit_;
    QString sMode_ = QStringLiteral("draw");
    QPointF sngStart_;
    QPointF sngMove_;
    bool pressGrabbed_ = false;
    bool unloaded_ = false;
    bool ownsWorkFiles_ = false;
};
