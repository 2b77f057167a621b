// Watermarks and the picture's start point: the two switches with their
// positions and labels, the opacity and size boxes, the start-point boxes and
// the buttons that open the watermark dialogs.
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/prompter/Prompter.h"
#include "settings/PanelCommands.h"
#include "settings/PreviewServices.h"
#include "settings/SettingsPanel.h"
#include "settings/frmTxtSet.h"
#include "state/AppState.h"
#include "state/NumberText.h"
#include "widgets/ControlFactory.h"

void SettingsPanel::buildWatermarkControls(QWidget* box)
{
    chkInfoTxt = makeCaptioned<QCheckBox>(box, QStringLiteral("chkInfoTxt"), QStringLiteral("文字"), {8, 6, 56, 22});
    cmdTSet = makeCaptioned<QPushButton>(box, QStringLiteral("cmdTSet"), QStringLiteral("文本水印"), {66, 4, 76, 24});
    cmbPos = makeControl<QComboBox>(box, QStringLiteral("cmbPos"), QStringLiteral("文字水印位置"), {146, 4, 78, 24});
    // The labels get whole lines: they show a text and a path.
    lTxt = makeCaptioned<QLabel>(box, QStringLiteral("lTxt"), QStringLiteral("文字水印:无"), {8, 30, 214, 20});

    chkInfoImg = makeCaptioned<QCheckBox>(box, QStringLiteral("chkInfoImg"), QStringLiteral("图片"), {8, 54, 56, 22});
    cmdSetP = makeCaptioned<QPushButton>(box, QStringLiteral("cmdSetP"), QStringLiteral("图片水印"), {66, 52, 76, 24});
    cmbPosImg = makeControl<QComboBox>(box, QStringLiteral("cmbPosImg"), QStringLiteral("图片水印位置"), {146, 52, 78, 24});
    lSY = makeCaptioned<QLabel>(box, QStringLiteral("lSY"), QStringLiteral("图片水印:无"), {8, 78, 214, 20});

    makeCaptioned<QLabel>(box, QStringLiteral("lblSize"), QStringLiteral("字号"), {8, 106, 28, 20});
    txtSize = makeControl<QLineEdit>(box, QStringLiteral("txtSize"), QStringLiteral("水印文字大小"), {38, 104, 40, 22});
    txtSize->setText(QStringLiteral("9"));
    makeCaptioned<QLabel>(box, QStringLiteral("lblAlpha"), QStringLiteral("透明"), {96, 106, 28, 20});
    txtAlpha = makeControl<QLineEdit>(box, QStringLiteral("txtAlpha"), QStringLiteral("水印透明度"), {126, 104, 40, 22});
    txtAlpha->setText(QStringLiteral("80"));
    cmbPos->setEnabled(false);
    cmbPosImg->setEnabled(false);

    cmdSetPos = makeCaptioned<QPushButton>(box, QStringLiteral("cmdSetPos"), QStringLiteral("移动图片"), {8, 136, 70, 24});
    makeCaptioned<QLabel>(box, QStringLiteral("lblXp"), QStringLiteral("X"), {82, 138, 10, 20});
    txtXp = makeControl<QLineEdit>(box, QStringLiteral("txtXp"), QStringLiteral("图片左边界"), {92, 136, 40, 24});
    cmdSetPX0 = makeCaptioned<QPushButton>(box, QStringLiteral("cmdSetPX0"), QStringLiteral("0"), {132, 136, 20, 24});
    makeCaptioned<QLabel>(box, QStringLiteral("lblYp"), QStringLiteral("Y"), {156, 138, 10, 20});
    txtYp = makeControl<QLineEdit>(box, QStringLiteral("txtYp"), QStringLiteral("图片上边界"), {166, 136, 40, 24});
    cmdSetPY0 = makeCaptioned<QPushButton>(box, QStringLiteral("cmdSetPY0"), QStringLiteral("0"), {206, 136, 20, 24});
    txtXp->setText(QStringLiteral("0"));
    txtYp->setText(QStringLiteral("0"));
}

void SettingsPanel::connectWatermarks()
{
    connectChoice(cmbPos, &SettingsPanel::cmbPos_Click);
    connectChoice(cmbPosImg, &SettingsPanel::cmbPosImg_Click);
    connect(chkInfoTxt, &QCheckBox::toggled, this, &SettingsPanel::chkInfoTxt_Click);
    connect(chkInfoImg, &QCheckBox::toggled, this, &SettingsPanel::chkInfoImg_Click);
    connect(txtAlpha, &QLineEdit::textChanged, this, &SettingsPanel::txtAlpha_Change);
    connect(txtSize, &QLineEdit::textChanged, this, &SettingsPanel::txtSize_Change);
    connect(txtXp, &QLineEdit::textChanged, this, &SettingsPanel::txtXp_Change);
    connect(txtYp, &QLineEdit::textChanged, this, &SettingsPanel::txtYp_Change);
    connect(cmdTSet, &QPushButton::clicked, this, &SettingsPanel::cmdTSet_Click);
    connect(cmdSetP, &QPushButton::clicked, this, &SettingsPanel::cmdSetP_Click);
    connect(cmdSetPos, &QPushButton::clicked, this, &SettingsPanel::cmdSetPos_Click);
    connect(cmdSetPX0, &QPushButton::clicked, this, &SettingsPanel::cmdSetPX0_Click);
    connect(cmdSetPY0, &QPushButton::clicked, this, &SettingsPanel::cmdSetPY0_Click);
}

void SettingsPanel::cmbPos_Click()
{
    app.panel.cmbPos = cmbPos->currentIndex();
    if (app.ps.iReady != 1)
        return;
    const bool free = cmbPos->currentIndex() == cmbPos->count() - 1;
    if (!free) {
        app.win.bMovePic = false;
        window_.redrawPreview();
    }
    window_.positionChosen(false, free);
}

void SettingsPanel::cmbPosImg_Click()
{
    app.panel.cmbPosImg = cmbPosImg->currentIndex();
    if (app.ps.iReady != 1)
        return;
    const bool free = cmbPosImg->currentIndex() == cmbPosImg->count() - 1;
    if (!free) {
        app.win.bMovePic = false;
        window_.redrawPreview();
    }
    window_.positionChosen(true, free);
}

void SettingsPanel::showTextWatermark()
{
    if (app.ps.sText.isEmpty()) {
        setLabel(lTxt, QStringLiteral("文字水印:无"), QStringLiteral("文字水印:无"));
        cmbPos->setEnabled(false);
        return;
    }
    // The text may run over several lines and be long: one line, cut to the
    // label, the whole text as tool tip.
    const QString full = QStringLiteral("文字水印:") + app.ps.sText;
    QString line = full;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
    lTxt->setText(QFontMetrics(lTxt->font()).elidedText(line.trimmed(), Qt::ElideRight, lTxt->width()));
    lTxt->setToolTip(full);
    cmbPos->setEnabled(true);
}

int SettingsPanel::runTextDialog()
{
    frmTxtSet dlg(app, prompter_, chkInfoTxt->window());
    const int result = execTextDialog(dlg);
    if (result == QDialog::Accepted)
        txtSize->setText(QString::number(app.ps.iSize));
    return result;
}

bool SettingsPanel::editTextWatermark()
{
    const bool ok = runTextDialog() == QDialog::Accepted;
    if (ok && !app.ps.sText.isEmpty()) {
        if (chkInfoTxt->isChecked())
            showTextWatermark();
        else
            chkInfoTxt->setChecked(true);
    }
    window_.redrawPreview();
    return ok;
}

void SettingsPanel::chkInfoTxt_Click()
{
    const bool on = chkInfoTxt->isChecked();
    app.panel.chkInfoTxt = on ? 1 : 0;
    if (!on) {
        app.ps.sText.clear();
        showTextWatermark();
    } else {
        if (app.ps.sText.isEmpty() && app.ps.iReady == 1 && runTextDialog() != QDialog::Accepted) {
            // Ticked to set a text and then cancelled: the switch goes off again.
            chkInfoTxt->setChecked(false);
            return;
        }
        showTextWatermark();
        if (!app.ps.sText.isEmpty()) {
            if (cmbPos->currentIndex() != cmbPos->count() - 1)
                cmbPos->setCurrentIndex(4);
            cmbPos->setFocus();
            window_.showTip(QStringLiteral("【提示】成功设置文字水印:") + app.ps.sText);
        }
    }
    if (window_.selectedIndex() >= 0 && window_.previewShown())
        window_.redrawPreview();
}

void SettingsPanel::chkInfoImg_Click()
{
    const bool on = chkInfoImg->isChecked();
    app.panel.chkInfoImg = on ? 1 : 0;
    if (!on) {
        app.ps.sSyFile.clear();
        window_.redrawPreview();
        cmbPosImg->setEnabled(false);
        setLabel(lSY, QStringLiteral("图片水印:无"), QStringLiteral("图片水印:无"));
        return;
    }
    if (app.ps.sSyFile.isEmpty() && app.ps.iReady == 1) {
        if (commands_)
            commands_->mSetImg_Click();
        if (app.ps.sSyFile.isEmpty()) {
            // No picture chosen: a ticked switch without a picture would say
            // a watermark is set when none is.
            chkInfoImg->setChecked(false);
            return;
        }
    }
    if (app.ps.sSyFile.isEmpty()) {
        cmbPosImg->setEnabled(false);
        setLabel(lSY, QStringLiteral("图片水印:无"), QStringLiteral("图片水印:无"));
        return;
    }
    cmbPosImg->setEnabled(true);
    if (cmbPosImg->currentIndex() != cmbPosImg->count() - 1)
        cmbPosImg->setCurrentIndex(3);
    cmbPosImg->setFocus();
    const QString full = QStringLiteral("图片水印:") + app.ps.sSyFile;
    const QString shown = QStringLiteral("图片水印:") + shortForm(app.ps.sSyFile);
    setLabel(lSY, QFontMetrics(lSY->font()).elidedText(shown, Qt::ElideMiddle, lSY->width()), full);
    window_.showTip(QStringLiteral("【提示】已设置图片水印:") + app.ps.sSyFile + QStringLiteral("。"));
}

void SettingsPanel::txtAlpha_Change()
{
    // Only a whole number 0..100 is an opacity; anything else (a half-typed
    // "-", "abc", "150") keeps the one in force rather than hiding the mark.
    bool ok = false;
    const int v = txtAlpha->text().trimmed().toInt(&ok);
    if (ok && v >= 0 && v <= 100)
        app.pic.cmSy.m[3][3] = float(v / 100.0);
    window_.redrawPreview();
}

void SettingsPanel::txtSize_Change()
{
    if (const auto v = numtext::toInt16(txtSize->text()))
        app.ps.iSize = *v;
    window_.redrawPreview();
}

void SettingsPanel::txtXp_Change()
{
    if (const auto v = numtext::toSingle(txtXp->text()))
        app.pic.sngXp = *v;
    window_.redrawPreview();
}

void SettingsPanel::txtYp_Change()
{
    if (const auto v = numtext::toSingle(txtYp->text()))
        app.pic.sngYp = *v;
    window_.redrawPreview();
}

void SettingsPanel::txtAlpha_Click()
{
    clickBox(txtAlpha, QStringLiteral("【提示】请输入水印图片的透明度(0-100，数字越大越不透明)。"));
}

void SettingsPanel::txtSize_Click()
{
    clickBox(txtSize, QStringLiteral("【提示】请输入水印文字的大小。"));
}

void SettingsPanel::txtXp_Click()
{
    clickBox(txtXp, QStringLiteral("【提示】请输入数字。该数字指定了图片的左边界。"));
}

void SettingsPanel::txtYp_Click()
{
    clickBox(txtYp, QStringLiteral("【提示】请输入数字。该数字指定了图片的上边界。"));
}

void SettingsPanel::cmdTSet_Click()
{
    if (commands_)
        commands_->mSetTxt_Click();
}

void SettingsPanel::cmdSetP_Click()
{
    if (commands_)
        commands_->mSetImg_Click();
}

void SettingsPanel::cmdSetPos_Click()
{
    if (commands_)
        commands_->mTRect_Click();
}

void SettingsPanel::cmdSetPX0_Click()
{
    txtXp->setText(QStringLiteral("0"));
}

void SettingsPanel::cmdSetPY0_Click()
{
    txtYp->setText(QStringLiteral("0"));
}
