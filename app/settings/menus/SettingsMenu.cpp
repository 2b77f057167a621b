// Settings menu "设置(&S)": the watermark dialogs, the output folder, the
// picture description, the options dialog on either page, and the live
// preview switch (shared with the preview's context menu).
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>

#include "platform/folders/ProgramFolders.h"
#include "settings/frmDlg.h"
#include "settings/frmOption.h"
#include "settings/menus/MenuCommands.h"
#include "settings/menus/MenuHost.h"
#include "state/AppState.h"

void MenuCommands::mSetTxt_Click()
{
    app.status.show(QStringLiteral("【提示】设置文字水印。"));
    host_.editTextWatermark();
}

void MenuCommands::mSetImg_Click()
{
    app.ps.iDlgMode = 2;
    app.status.show(QStringLiteral("【提示】请选择要添加的水印图片。"));
    frmDlg dlg(app, settings_, host_.mainWindow());
    dlg.Label1->setText(QStringLiteral("请选择要添加的水印图片。"));
    dlg.frmSY->show();
    dlg.setFolder(ProgramFolders::resourceDir() + QStringLiteral("/sy"));
    if (host_.execChooser(dlg) == QDialog::Accepted)
        if (const auto opacity = dlg.chosenOpacity())
            host_.setOpacityText(QString::number(*opacity));
    if (!app.ps.sSyFile.isEmpty())
        host_.checkPictureWatermark();
    host_.lstFile_Click();
}

void MenuCommands::mTODir_Click()
{
    app.status.show(QStringLiteral("【提示】选择输出文件夹,处理好的图片将存放到该文件夹。"));
    host_.cmdODir_Click();
}

void MenuCommands::mSPicTxt_Click()
{
    host_.showDescriptionBox();
}

void MenuCommands::openOptions(bool pdfPage)
{
    frmOption dlg(app, settings_, host_.mainWindow());
    dlg.ReDrawPic = [this] { host_.lstFile_Click(); };
    if (pdfPage)
        dlg.showPdfPage();
    else
        dlg.showGeneralPage();
    execOptions(dlg);
}

void MenuCommands::mSPDFSet_Click()
{
    openOptions(true);
}

void MenuCommands::mTOption_Click()
{
    app.status.show(QStringLiteral("【提示】请根据需要设置相关参数。"));
    openOptions(false);
}

void MenuCommands::mShowOn_Click()
{
    app.win.bPreviewOff = !app.win.bPreviewOff;
    showPreviewChecks();
    host_.lstFile_Click();
}

void MenuCommands::showPreviewChecks()
{
    // One switch, two items: both always show it.
    mShowOn->setChecked(!app.win.bPreviewOff);
    mShowOn2->setChecked(!app.win.bPreviewOff);
}
