// Interface menu "界面(&K)": normal or maximised window, the two tool panels
// of the preview, and the skins.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>

#include "platform/folders/ProgramFolders.h"
#include "platform/skin/SkinEngine.h"
#include "settings/frmDlg.h"
#include "settings/menus/MenuCommands.h"
#include "settings/menus/MenuHost.h"
#include "settings/menus/SkinChoices.h"
#include "state/AppState.h"
#include "store/SettingsStore.h"

void MenuCommands::mUI_Click()
{
    QMainWindow* w = host_.mainWindow();
    const Qt::WindowStates notNormal = Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;
    if (!(w->windowState() & notNormal))
        w->showMaximized();
    else
        w->showNormal();
}

void MenuCommands::mKTTool_Click()
{
    host_.showToolPanel(MenuHost::ToolPanel::Top);
}

void MenuCommands::mKRTool_Click()
{
    host_.showToolPanel(MenuHost::ToolPanel::Right);
}

void MenuCommands::mSkin_Click(int index)
{
    if (index < 0 || index >= kSkinChoices)
        return;
    for (QAction* a : mSkin)
        a->setChecked(false);
    mSkin[size_t(index)]->setChecked(true);
    if (index != kOtherSkin) {
        app.ps.sSkinFileName = skinFile(index);
    } else {
        // OK stores the chosen file; Cancel keeps the skin in use.
        app.ps.iDlgMode = 4;
        frmDlg dlg(app, settings_, host_.mainWindow());
        dlg.setWindowTitle(QStringLiteral("请选择皮肤文件"));
        dlg.Frame1->hide();
        dlg.Label1->setText(QStringLiteral("请选择皮肤文件。"));
        dlg.setFolder(ProgramFolders::skinDir());
        dlg.setPattern(QStringLiteral("*.she"));
        host_.execChooser(dlg);
    }
    applySkin();
}

void MenuCommands::applySkin()
{
    if (app.ps.sSkinFileName.isEmpty())
        return;
    SkinH_AttachEx(app.ps.sSkinFileName, QString());
    settings_.writeText(QStringLiteral("sSkinFileName"), app.ps.sSkinFileName);
    settings_.sync();
}
