// Output: the output folder, renaming with prefix and counter digits, and
// the switches for the upload and the PDF book with their buttons.
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "platform/prompter/Prompter.h"
#include "settings/PanelCommands.h"
#include "settings/PreviewServices.h"
#include "settings/SettingsPanel.h"
#include "settings/frmDlg.h"
#include "state/AppState.h"
#include "widgets/ControlFactory.h"

void SettingsPanel::buildOutputControls(QWidget* box)
{
    cmdODir = makeCaptioned<QPushButton>(box, QStringLiteral("cmdODir"), QStringLiteral("输出目录"), {8, 4, 84, 24});
    lOut = makeCaptioned<QLabel>(box, QStringLiteral("lOut"), QStringLiteral("输出目录:未设置"), {8, 30, 184, 20});
    chkRM = makeCaptioned<QCheckBox>(box, QStringLiteral("chkRM"), QStringLiteral("改名:"), {8, 56, 60, 22});
    txtFileName = makeControl<QLineEdit>(box, QStringLiteral("txtFileName"), QStringLiteral("文件名前缀"), {70, 56, 80, 22});
    txtNum = makeControl<QLineEdit>(box, QStringLiteral("txtNum"), QStringLiteral("顺序号位数"), {154, 56, 38, 22});
    txtFileName->setText(QStringLiteral("Vimo_"));
    txtNum->setText(QStringLiteral("4"));
    txtFileName->setEnabled(false);
    txtNum->setEnabled(false);
    chkPDF = makeCaptioned<QCheckBox>(box, QStringLiteral("chkPDF"), QStringLiteral("生成PDF文件"), {8, 84, 100, 22});
    cmdPDFSet = makeCaptioned<QPushButton>(box, QStringLiteral("cmdPDFSet"), QStringLiteral("PDF设置"), {110, 82, 82, 24});
    cmdPDFSet->setEnabled(false);
    // Offered, unlike the design, which hid it: without it no run uploads.
    chkFtp = makeCaptioned<QCheckBox>(box, QStringLiteral("chkFtp"), QStringLiteral("上传到互联网"), {8, 110, 120, 22});
    cmdOption = makeCaptioned<QPushButton>(box, QStringLiteral("cmdOption"), QStringLiteral("选项"), {8, 136, 88, 26});
    cmdImgCut = makeCaptioned<QPushButton>(box, QStringLiteral("cmdImgCut"), QStringLiteral("裁剪图片"), {104, 136, 88, 26});
}

void SettingsPanel::connectOutput()
{
    connect(chkFtp, &QCheckBox::toggled, this, &SettingsPanel::chkFtp_Click);
    connect(chkPDF, &QCheckBox::toggled, this, &SettingsPanel::chkPDF_Click);
    connect(chkRM, &QCheckBox::toggled, this, &SettingsPanel::chkRM_Click);
    connect(txtFileName, &QLineEdit::textChanged, this, &SettingsPanel::txtFileName_Change);
    connect(txtNum, &QLineEdit::textChanged, this, [this](const QString& t) { app.panel.txtNum = t; });
    connect(cmdODir, &QPushButton::clicked, this, &SettingsPanel::cmdODir_Click);
    connect(cmdOption, &QPushButton::clicked, this, &SettingsPanel::cmdOption_Click);
    connect(cmdPDFSet, &QPushButton::clicked, this, &SettingsPanel::cmdPDFSet_Click);
    connect(cmdImgCut, &QPushButton::clicked, this, &SettingsPanel::cmdImgCut_Click);
}

void SettingsPanel::chkFtp_Click()
{
    if (chkFtp->isChecked() && !confirmUpload()) {
        // Quiet: clearing the box must not run this handler a second time.
        const QSignalBlocker quiet(chkFtp);
        chkFtp->setChecked(false);
    }
    const bool on = chkFtp->isChecked();
    app.panel.chkFtp = on ? 1 : 0;
    // A switch that is off says nothing of uploads: the status line goes
    // back to what it said of the picture (what is wrong with a damaged one).
    if (on)
        window_.showTip(QStringLiteral("【提示】图片将被上传到互联网,请确保网络连接正常。"));
    else
        window_.showPictureTip();
}

bool SettingsPanel::confirmUpload()
{
    prompter_.message(QStringLiteral("严禁上传淫秽、暴力、反动等国家禁止或有违道德图片！\n\n"
                                     "请自觉遵守法律法规和道德规范，共创良好网络环境。"),
                      QStringLiteral("敬告"), PromptIcon::Exclamation);
    // Every tick asks, with the kept target filled in, so that a mistyped
    // server, user or folder can be mended here. Giving the dialog up keeps
    // the kept target; without one the run could not upload.
    return app.ps.iReady != 1 || askFtpTarget() || ftpTargetSet();
}

void SettingsPanel::chkPDF_Click()
{
    app.panel.chkPDF = chkPDF->isChecked() ? 1 : 0;
    cmdPDFSet->setEnabled(chkPDF->isChecked());
}

void SettingsPanel::chkRM_Click()
{
    app.panel.chkRM = chkRM->isChecked() ? 1 : 0;
    txtFileName->setEnabled(chkRM->isChecked());
    txtNum->setEnabled(chkRM->isChecked());
}

void SettingsPanel::txtFileName_Change()
{
    // Saving cleans the whole name ("/", "\" and NUL become "_"), so any
    // prefix is safe to keep as typed.
    app.ps.sPrefix = txtFileName->text();
}

void SettingsPanel::txtFileName_Click()
{
    clickBox(txtFileName, QStringLiteral("【提示】请输入图片文件名的前缀(如输入Tupian_,那么文件名将类似Tupian_001.jpg)。"
                                         "双击文本框弹出更多设置。"));
}

void SettingsPanel::txtFileName_DblClick()
{
    window_.popupPrefixMenu(txtFileName->mapToGlobal(QPoint(0, txtFileName->height())));
}

void SettingsPanel::txtNum_Click()
{
    clickBox(txtNum, QStringLiteral("【提示】请输入图片文件名的顺序号位数(比如输入3,那么文件名将类似Vimo_001.jpg)。"));
}

void SettingsPanel::cmdODir_Click()
{
    app.ps.iDlgMode = 0;
    frmDlg dlg(app, settings_, lOut->window());
    dlg.Label1->setText(QStringLiteral("请选择文件夹(处理好的文件将被保存到该文件夹)。"));
    dlg.File1->setEnabled(false);
    dlg.Frame1->hide();
    dlg.setFolder(app.ps.sOutDir);
    if (execChooser(dlg) != QDialog::Accepted || app.ps.sODIR.isEmpty())
        return;
    app.ps.sOutDir = app.ps.sODIR;
    showOutputFolder(shortForm(app.ps.sOutDir));
}

void SettingsPanel::showOutputFolder(const QString& folderText)
{
    // Even a short form of wide characters can be wider than the label; the
    // label then cuts it further, and the tool tip has the whole folder.
    const QString shown = QStringLiteral("输出文件夹:") + folderText;
    setLabel(lOut, QFontMetrics(lOut->font()).elidedText(shown, Qt::ElideMiddle, lOut->width()),
             QStringLiteral("输出文件夹:") + app.ps.sOutDir);
}

void SettingsPanel::cmdOption_Click()
{
    if (commands_)
        commands_->mTOption_Click();
}

void SettingsPanel::cmdPDFSet_Click()
{
    if (commands_)
        commands_->mSPDFSet_Click();
}

void SettingsPanel::cmdImgCut_Click()
{
    if (commands_)
        commands_->mPCutImg_Click();
}
