#include "viewer/frmCap.h"

#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "platform/camera/CameraSource.h"
#include "platform/folders/ProgramFolders.h"
#include "platform/imaging/PictureWriter.h"
#include "platform/prompter/Prompter.h"
#include "viewer/CaptureFileName.h"
#include "viewer/ViewerHost.h"

namespace {

const QString kNoCamera = QStringLiteral("没有摄像头或发生错误！请检查。");

// Design positions are in twips: 15 to the pixel.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

QPixmap fitted(const QImage& picture, QSize area)
{
    return QPixmap::fromImage(picture.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

} // namespace

frmCap::frmCap(ViewerHost& host, CameraSource& camera, Prompter& prompter, QWidget* parent)
    : QDialog(parent), host_(host), camera_(camera), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmCap"));
    setWindowTitle(QStringLiteral("摄像头拍照"));
    now = [] { return QDateTime::currentDateTime(); };
    buildControls();
    Form_Load();
}

frmCap::~frmCap()
{
    stopCamera();
}

void frmCap::buildControls()
{
    setFixedSize(twips(0, 0, 6810, 5175).size());
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twips(150, 105, 5130, 4890));
    Frame1->setAccessibleName(QStringLiteral("拍照"));
    Picture1 = new QLabel(Frame1);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twips(135, 255, 4800, 3605));
    Picture1->setAccessibleName(QStringLiteral("照片"));
    Picture1->setAlignment(Qt::AlignCenter);
    Picture1->setAutoFillBackground(true);
    Picture1->setPalette(QPalette(Qt::black));
    Picture1->installEventFilter(this);
    // The live picture lies over the still, one pixel beyond its edges.
    Picture2 = new QLabel(Picture1);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(-1, -1, Picture1->width() + 1, Picture1->height() + 1);
    Picture2->setAccessibleName(QStringLiteral("摄像头画面"));
    Picture2->setAlignment(Qt::AlignCenter);
    Picture2->setAutoFillBackground(true);
    Picture2->setPalette(QPalette(Qt::black));
    Picture2->setAttribute(Qt::WA_TransparentForMouseEvents);

    Command1 = new QPushButton(QStringLiteral("拍照"), Frame1);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips(930, 4035, 1440, 630));
    Command1->setAutoDefault(false);
    Command2 = new QPushButton(QStringLiteral("重拍"), Frame1);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(twips(2790, 4035, 1440, 630));
    Command2->setAutoDefault(false);
    cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twips(5445, 195, 1185, 495));
    cmdOK->setDefault(true);
    // Nothing to save until a still is held.
    cmdOK->setEnabled(false);
    cmdNO = new QPushButton(QStringLiteral("取消"), this);
    cmdNO->setObjectName(QStringLiteral("cmdNO"));
    cmdNO->setGeometry(twips(5445, 765, 1185, 495));
    cmdNO->setAutoDefault(false);
    setTabOrder(cmdOK, cmdNO);
    setTabOrder(cmdNO, Command1);
    setTabOrder(Command1, Command2);

    connect(Command1, &QPushButton::clicked, this, &frmCap::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmCap::Command2_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmCap::cmdOK_Click);
    connect(cmdNO, &QPushButton::clicked, this, &frmCap::cmdNO_Click);
}

void frmCap::Form_Load()
{
    camera_.onFrame = [this](const QImage& frame) { showLive(frame); };
    camera_.onError = [this](const QString&) {
        stopCamera();
        prompter_.message(kNoCamera, QString(), PromptIcon::Critical);
    };
    QString error;
    cameraOn_ = camera_.start(error);
    if (!cameraOn_)
        prompter_.message(kNoCamera, QString(), PromptIcon::Critical);
}

void frmCap::stopCamera()
{
    camera_.onFrame = nullptr;
    camera_.onError = nullptr;
    if (cameraOn_)
        camera_.stop();
    cameraOn_ = false;
}

void frmCap::showLive(const QImage& frame)
{
    live_ = frame;
    if (!Picture2->isHidden() || still_.isNull())
        Picture2->setPixmap(fitted(frame, Picture2->size()));
}

void frmCap::Command1_Click()
{
    // No picture has come yet: nothing to hold.
    if (live_.isNull())
        return;
    still_ = live_;
    Picture1->setPixmap(fitted(still_, Picture1->size()));
    Picture2->hide();
    cmdOK->setEnabled(true);
    QGuiApplication::clipboard()->setImage(still_);
}

void frmCap::Command2_Click()
{
    still_ = QImage();
    Picture1->clear();
    Picture2->show();
    if (!live_.isNull())
        Picture2->setPixmap(fitted(live_, Picture2->size()));
    cmdOK->setEnabled(false);
}

void frmCap::cmdOK_Click()
{
    if (still_.isNull())
        return;
    const QString folder = ProgramFolders::userDir();
    QDir().mkpath(folder);
    const QString path =
        stampedFileName(folder, QStringLiteral("Cap"), now(), QStringLiteral("ddHHmmss"), QStringLiteral(".bmp"));
    const imaging::WriteResult written = imaging::writePicture(still_, path, imaging::Encoder::Bmp, 0);
    if (!written.ok) {
        prompter_.message(QStringLiteral("照片未能保存：") + written.error, QString(), PromptIcon::Critical);
        return;
    }
    saved_ = path;
    // The host's append also turns on the list commands and hides the web panel.
    host_.appendListItem(path);
    accept();
    host_.lstFile_Click();
}

void frmCap::cmdNO_Click()
{
    reject();
}

void frmCap::Picture1_MouseDown(QPointF pos)
{
    prompter_.message(QString::number(qRound(pos.x() * 15)) + QLatin1Char('-') + QString::number(qRound(pos.y() * 15)),
                      QString(), PromptIcon::None);
}

void frmCap::done(int result)
{
    stopCamera();
    QDialog::done(result);
}

bool frmCap::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Picture1 && event->type() == QEvent::MouseButtonPress && Picture2->isHidden()) {
        Picture1_MouseDown(static_cast<QMouseEvent*>(event)->position());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
