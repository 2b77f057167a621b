// The main window's load, in its order: choice boxes, settings, command-line
// pictures, working folders, bitmap surfaces, title. Setting a control's
// selection here raises its handler at that moment, as a user's choice would.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "mainwindow/ChoiceSources.h"
#include "mainwindow/CommandLine.h"
#include "mainwindow/ProgramTitle.h"
#include "mainwindow/SettingsStore.h"
#include "mainwindow/frmMain.h"
#include "platform/folders/ProgramFolders.h"
#include "processing/CDIB.h"
#include "state/AppState.h"
#include "state/StartValues.h"

namespace {

const char* const kPositions[] = {"右下", "左下", "左上", "右上", "居中", "自定义"};
const char* const kFormats[] = {"原格式", "jpg", "png", "tiff", "bmp"};

} // namespace

void frmMain::Form_Load()
{
    setStartValues(app);
    loadMainWindowSettings(app, settings_);
    alphaAtStart_ = QString::number(app.ps.iuSYAlpha);
    app.ps.sPrefix = txtFileName->text();
    lOut->setText(QStringLiteral("输出文件夹:") + app.ps.sOutDir);
    imgM->setGeometry(0, 0, picImg->width(), picImg->height());
    fillChoiceBoxes();
    loadSettings();
    addCommandLinePictures();
    ProgramFolders::ensureWorkingFolders();
    createSurfaces();
    setWindowTitle(programTitle());
    app.status.show(QStringLiteral("【提示】") + programTitle() + QStringLiteral(":批量缩放、加边框、加水印、调色、转换格式。"));
    lblPos->hide();
    startNews();
    loaded_ = true;
    app.ps.iReady = 1;
    Form_Resize();
}

void frmMain::fillChoiceBoxes()
{
    for (QComboBox* box : {cmbPos, cmbPosImg})
        for (const char* p : kPositions)
            box->addItem(QString::fromUtf8(p));
    for (const char* f : kFormats)
        cmbEncode->addItem(QString::fromUtf8(f));
    cmbEncode->setCurrentIndex(0);
    cmbEncode_Click();

    txtAlpha->setText(QString::number(app.ps.iuSYAlpha));

    cmbSize->addItems({QStringLiteral("限制宽度"), QStringLiteral("适应边框"), QStringLiteral("原始尺寸")});
    app.win.sSizeList = readSizeFile(ProgramFolders::sizeFile());
    for (const SizeEntry& row : app.win.sSizeList)
        cmbSize->addItem(row.label);
    cmbSize->addItem(QStringLiteral("自定义尺寸..."));

    cmbBK->addItem(QStringLiteral("无边框"));
    app.win.sBkFiles = QStringList{QString()};
    for (const QString& path : borderFiles(ProgramFolders::borderDir())) {
        cmbBK->addItem(borderLabel(path));
        app.win.sBkFiles << path;
    }
    cmbBK->addItem(QStringLiteral("添加本地边框..."));
    cmbBK->addItem(QStringLiteral("网络下载边框..."));
}

void frmMain::loadSettings()
{
    const ProgramState& ps = app.ps;
    cmbSize->setCurrentIndex(ps.iuSize >= 0 && ps.iuSize < cmbSize->count() ? ps.iuSize : 0);
    // Only a real border is restored: the two command entries at the end would
    // open a dialog or a web page while the window loads.
    const int borders = cmbBK->count() - 2;
    cmbBK->setCurrentIndex(ps.iuBk >= 0 && ps.iuBk < borders ? ps.iuBk : 0);
    txtSize->setText(QString::number(ps.iSize));
    if (!ps.sText.isEmpty()) {
        chkInfoTxt->setChecked(true);
        cmbPos->setCurrentIndex(cmbPos->count() - 1);
    }
    if (!ps.sSyFile.isEmpty()) {
        chkInfoImg->setChecked(true);
        cmbPosImg->setCurrentIndex(cmbPosImg->count() - 1);
    }
    // The selections above moved the watermarks to their preset places; the
    // stored free positions hold.
    app.ps.iuTSyX = ps.sngTSyX;
    app.ps.iuTSyY = ps.sngTSyY;
    app.ps.iuISyX = ps.sngISyX;
    app.ps.iuISyY = ps.sngISyY;
}

void frmMain::addCommandLinePictures()
{
    const QStringList paths = commandLinePictures(app.main.vCmdLine, QDir::currentPath());
    addPictures(paths, false);
    if (app.list.empty())
        return;
    setListIndex(app.list.count() - 1);
    lstFile_Click();
}

void frmMain::createSurfaces()
{
    app.ps.dibSrc = std::make_shared<CDIB>();
    app.ps.dibWork = std::make_shared<CDIB>();
    app.ps.dibSpare = std::make_shared<CDIB>();
    app.ps.dibTemp = std::make_shared<CDIB>();
}
