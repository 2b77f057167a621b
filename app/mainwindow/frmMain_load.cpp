// The main window's load, in its order: choice boxes, settings, command-line
// pictures, working folders, bitmap surfaces, title. Setting a control's
// selection here raises its handler at that moment, as a user's choice would.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "mainwindow/CommandLine.h"
#include "mainwindow/ProgramTitle.h"
#include "mainwindow/frmMain.h"
#include "platform/folders/ProgramFolders.h"
#include "processing/CDIB.h"
#include "settings/SettingsPanel.h"
#include "state/AppState.h"
#include "state/StartValues.h"
#include "store/SettingsStore.h"

void frmMain::Form_Load()
{
    setStartValues(app);
    loadMainWindowSettings(app, settings_);
    alphaAtStart_ = QString::number(app.ps.iuSYAlpha);
    imgM->setGeometry(0, 0, picImg->width(), picImg->height());
    panel->fillChoiceBoxes();
    panel->restoreChoices();
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
