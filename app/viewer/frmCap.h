#pragma once

#include <QDateTime>
#include <QDialog>
#include <QImage>
#include <functional>

class CameraSource;
class Prompter;
class QGroupBox;
class QLabel;
class QPushButton;
class ViewerHost;

// The webcam window: the first camera's live picture, "拍照" to hold a
// still, "重拍" to go back to the live picture, "确定" to save the still into
// the user folder and add it to the end of the picture list.
class frmCap : public QDialog {
    Q_OBJECT
public:
    frmCap(ViewerHost& host, CameraSource& camera, Prompter& prompter, QWidget* parent = nullptr);
    ~frmCap() override;

    // Starts the camera; without one it says so and stays open, so the user
    // can cancel. Run by the constructor.
    void Form_Load();

    void Command1_Click();  // 拍照
    void Command2_Click();  // 重拍
    void cmdOK_Click();     // 确定
    void cmdNO_Click();     // 取消
    // A press on the still, in pixels of Picture1.
    void Picture1_MouseDown(QPointF pos);

    const QImage& still() const { return still_; }
    // The file "确定" wrote; empty until then.
    QString savedPath() const { return saved_; }

    // The clock that names the stills; tests set it.
    std::function<QDateTime()> now;

    // Controls, named as in the design.
    QGroupBox* Frame1;
    QLabel* Picture1;
    QLabel* Picture2;
    QPushButton *Command1, *Command2, *cmdOK, *cmdNO;

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void showLive(const QImage& frame);
    void stopCamera();

    ViewerHost& host_;
    CameraSource& camera_;
    Prompter& prompter_;
    QImage live_;
    QImage still_;
    QString saved_;
    bool cameraOn_ = false;
};
