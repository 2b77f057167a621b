#include "mainwindow/frmMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextBrowser>
#include <QTimer>

#include "platform/prompter/Prompter.h"
#include "platform/shell/Shell.h"
#include "settings/SettingsPanel.h"
#include "state/AppState.h"
#include "store/SettingsStore.h"
#include "widgets/ControlFactory.h"

namespace {

// The window's client size as designed; the resize rules stretch from here.
constexpr QSize kDesignClient(960, 640);

} // namespace

frmMain::frmMain(AppState& appState, SettingsStore& settings, Prompter& prompter, Shell& shell, QWidget* parent)
    : QMainWindow(parent), app(appState), settings_(settings), prompter_(prompter), shell_(shell), preview_(appState)
{
    setObjectName(QStringLiteral("frmMain"));
    // No fixed accessible name: the window speaks its title, which names the picture shown.
    setWindowTitle(QStringLiteral("Vimo图片批处理"));
    setCentralWidget(new QWidget(this));
    centralWidget()->setObjectName(QStringLiteral("frmMainClient"));
    centralWidget()->setAccessibleName(QStringLiteral("Vimo图片批处理"));
    setAcceptDrops(true);
    buildFrames();
    buildListArea();
    buildPreviewArea();
    buildSettingsPanel();
    buildMenus();
    connectHandlers();
    installFilters();
    marker_ = new WatermarkMarker(app, this);
    connectMarker();
    app.status.setSink([this](const QString& text) { lInfo->setText(text); });
    // Whatever the desktop could not open (an output folder, the error log,
    // the read-me, a web page) is said, with its path; a report that comes
    // after the window has gone is dropped.
    shell_.onFailure = [window = QPointer<frmMain>(this)](const QString& target) {
        if (window)
            window->prompter_.message(QStringLiteral("桌面无法打开:") + target +
                                          QStringLiteral("\n请检查系统是否装有 xdg-open 以及打开这类文件或网址的程序。"),
                                      QString(), PromptIcon::Exclamation);
    };
    resize(kDesignClient.width(), kDesignClient.height() + menuBar()->sizeHint().height());
}

void frmMain::buildFrames()
{
    QWidget* c = centralWidget();
    NiceContainr1 = makeControl<QFrame>(c, QStringLiteral("NiceContainr1"), {}, {4, 4, 120, 168});
    NiceContainr2 = makeControl<QFrame>(c, QStringLiteral("NiceContainr2"), {}, {128, 4, 200, 168});
    NiceContainr3 = makeControl<QFrame>(c, QStringLiteral("NiceContainr3"), {}, {332, 4, 230, 168});
    NiceContainr4 = makeControl<QFrame>(c, QStringLiteral("NiceContainr4"), {}, {566, 4, 200, 168});
    NiceContainr5 = makeControl<QFrame>(c, QStringLiteral("NiceContainr5"), {}, {770, 4, 186, 168});
    NiceContainr6 = makeControl<QFrame>(c, QStringLiteral("NiceContainr6"), {}, {956, 4, 100, 168});
    for (QFrame* f : {NiceContainr1, NiceContainr2, NiceContainr3, NiceContainr4, NiceContainr5, NiceContainr6})
        f->setFrameShape(QFrame::StyledPanel);
    NiceContainr6->hide();
    // Captionless frames: the list and the preview fill them from their top.
    Frame1 = makeControl<QGroupBox>(c, QStringLiteral("Frame1"), QStringLiteral("图片列表"), {4, 176, 200, 420});
    Frame2 = makeControl<QGroupBox>(c, QStringLiteral("Frame2"), QStringLiteral("效果预览"), {208, 176, 748, 420});
    // The status line speaks its current tip, like every control with text.
    lInfo = makeCaptioned<QLabel>(c, QStringLiteral("lInfo"), QString(), {4, 616, 780, 20});
    lblNew = makeCaptioned<QLabel>(c, QStringLiteral("lblNew"), QStringLiteral("Vimo图片批处理"), {796, 616, 160, 20});
    lblNew->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblNew->hide();

    cmdAdd = makeCaptioned<QPushButton>(NiceContainr1, QStringLiteral("cmdAdd"), QStringLiteral("添加图片"), {8, 8, 104, 26});
    cmdAdds = makeCaptioned<QPushButton>(NiceContainr1, QStringLiteral("cmdAdds"), QStringLiteral("添加文件夹"), {8, 38, 104, 26});
    cmdDel = makeCaptioned<QPushButton>(NiceContainr1, QStringLiteral("cmdDel"), QStringLiteral("移除图片"), {8, 68, 104, 26});
    cmdClr = makeCaptioned<QPushButton>(NiceContainr1, QStringLiteral("cmdClr"), QStringLiteral("全部清空"), {8, 98, 104, 26});
    lFile = makeCaptioned<QLabel>(NiceContainr1, QStringLiteral("lFile"), QStringLiteral("图片数量:0个"), {8, 136, 104, 20});
    cmdDel->setEnabled(false);
    cmdClr->setEnabled(false);
}

void frmMain::buildListArea()
{
    lstFile = makeControl<QListWidget>(Frame1, QStringLiteral("lstFile"), QStringLiteral("图片列表"), {6, 6, 188, 290});
    lstFile->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstFile->setMouseTracking(true);
    picSmall = makeControl<QFrame>(Frame1, QStringLiteral("picSmall"), QStringLiteral("原图缩略图"), {50, 320, 100, 90});
    picSmall->setFrameShape(QFrame::Box);
    imgSmall = makeControl<QLabel>(picSmall, QStringLiteral("imgSmall"), QStringLiteral("原图"), {0, 0, 100, 90});
    imgSmall->setScaledContents(true);
    imgPre = makeControl<QLabel>(Frame1, QStringLiteral("imgPre"), QStringLiteral("上一张"), {6, 345, 40, 40});
    imgFor = makeControl<QLabel>(Frame1, QStringLiteral("imgFor"), QStringLiteral("下一张"), {154, 345, 40, 40});
    for (QLabel* l : {imgPre, imgFor}) {
        l->setScaledContents(true);
        l->setCursor(Qt::PointingHandCursor);
    }
}

void frmMain::buildPreviewArea()
{
    picImg = makeControl<QFrame>(Frame2, QStringLiteral("picImg"), QStringLiteral("预览区"), {6, 6, 736, 394});
    picImg->setFrameShape(QFrame::Box);
    picImg->setFocusPolicy(Qt::StrongFocus);
    picImg->setMouseTracking(true);
    picImg->setAcceptDrops(true);
    Web = makeControl<QTextBrowser>(picImg, QStringLiteral("Web"), QStringLiteral("新闻"), {0, -2000 / kTwipsPerPixel, 736, 394});
    Web->hide();
    imgM = makeControl<QLabel>(picImg, QStringLiteral("imgM"), QStringLiteral("预览图"), {0, 0, 736, 394});
    imgM->setScaledContents(true);
    imgM->setMouseTracking(true);
    imgM->setAcceptDrops(true);
    imgM->hide();
    lblPos = makeControl<QFrame>(picImg, QStringLiteral("lblPos"), QStringLiteral("水印标记"), {0, 0, 40, 3});
    lblPos->setStyleSheet(QStringLiteral("background-color: blue;"));
    lblPos->hide();
    txtPicTxt = makeControl<QLineEdit>(picImg, QStringLiteral("txtPicTxt"), QStringLiteral("图片说明"), {13, 354, 710, 24});
    txtPicTxt->setText(QStringLiteral("在这里填写该图片的说明,回车确认,ESC键隐藏本说明"));

    Frame4 = makeControl<QFrame>(picImg, QStringLiteral("Frame4"), QStringLiteral("顶部工具条"), {188, -6, 360, 40});
    Frame3 = makeControl<QFrame>(picImg, QStringLiteral("Frame3"), QStringLiteral("右侧工具条"), {672, -6, 64, 398});
    for (QFrame* f : {Frame3, Frame4}) {
        f->setFrameShape(QFrame::StyledPanel);
        f->setAutoFillBackground(true);
        f->hide();
    }
    hscSY = makeControl<QScrollBar>(Frame3, QStringLiteral("hscSY"), QStringLiteral("水印缩放"), {4, 20, 56, 18});
    hscSY->setOrientation(Qt::Horizontal);
    hscSY->setRange(-20, 20);
    hscSY->setValue(0);
    hscSY->setSingleStep(1);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // A run is still inside one of its yields: stop it first, or the window
    // would go away under it.
    if (running_ || app.win.bScanning) {
        cmdStop_Click();
        app.status.show(QStringLiteral("【提示】正在停止处理,请稍候再关闭窗口。"));
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    CloseControls controls;
    controls.sizeIndex = panel->cmbSize->currentIndex();
    controls.borderIndex = panel->cmbBK->currentIndex();
    controls.borderCount = panel->cmbBK->count();
    controls.alphaText = panel->txtAlpha->text();
    saveMainWindowSettings(settings_, app.ps, controls);
    settings_.sync();
}
