// Handlers of the settings panel that keep the program state and the values
// the pipeline reads in step with the controls. The load raises them when it
// restores the stored choices.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <QGroupBox>
#include <QListWidget>

#include "mainwindow/frmMain.h"
#include "settings/frmDlg.h"
#include "state/AppState.h"
#include "state/NumberText.h"

void frmMain::cmbSize_Click()
{
    txtW->setEnabled(false);
    txtH->setEnabled(false);
    const int mode = cmbSize->currentIndex();
    app.ps.iSizeMode = mode;
    app.panel.cmbSizeCount = cmbSize->count();
    if (mode == 0) {
        txtW->setText(QStringLiteral("500"));
        txtH->setText(QStringLiteral("0"));
        txtW->setEnabled(true);
        app.status.show(QStringLiteral("【提示】输入图片宽度,高度将按原图片比例自动换算。"));
    } else if (mode == 1 || mode == 2) {
        if (mode == 1 && cmbBK->currentIndex() == 0 && cmbBK->count() > 3)
            cmbBK->setCurrentIndex(1);
        txtW->setText(QStringLiteral("0"));
        txtH->setText(QStringLiteral("0"));
        lstFile_Click();
    } else if (mode + 1 == cmbSize->count()) {
        txtW->setEnabled(true);
        txtH->setEnabled(true);
        txtW->setText(QStringLiteral("400"));
        txtH->setText(QStringLiteral("300"));
        if (app.ps.iReady == 1) {
            txtW->setFocus();
            txtW->selectAll();
        }
        app.status.show(QStringLiteral("【提示】请输入图片宽度和高度。"));
    } else if (mode >= 3 && mode - 3 < int(app.win.sSizeList.size())) {
        txtW->setText(app.win.sSizeList[size_t(mode - 3)].width);
        txtH->setText(app.win.sSizeList[size_t(mode - 3)].height);
    }
}

void frmMain::cmbBK_Click()
{
    const int i = cmbBK->currentIndex();
    const int n = cmbBK->count();
    if (i < 0)
        return;
    if (i >= n - 2) {
        // The border commands come with the settings panel's own work; until
        // then they leave the border off.
        cmbBK->setCurrentIndex(0);
        return;
    }
    if (i == 0 && cmbSize->currentIndex() == 1)
        cmbSize->setCurrentIndex(0);
    app.ps.sBkFile = app.win.sBkFiles.value(i);
    if (listIndex() >= 0 && imgM->isVisible())
        lstFile_Click();
    app.status.show(QStringLiteral("【提示】滚动鼠标滚轮可以选择不同的边框。"));
}

void frmMain::cmbEncode_Click()
{
    app.ps.sOutFormat = cmbEncode->currentText();
    app.panel.cmbEncode = cmbEncode->currentText();
}

void frmMain::chkInfoTxt_Click()
{
    app.panel.chkInfoTxt = chkInfoTxt->isChecked() ? 1 : 0;
    if (!chkInfoTxt->isChecked())
        app.ps.sText.clear();
    if (app.ps.sText.isEmpty()) {
        lTxt->setText(QStringLiteral("文字水印:无"));
        cmbPos->setEnabled(false);
    } else {
        lTxt->setText(QStringLiteral("文字水印:") + app.ps.sText);
        cmbPos->setEnabled(true);
        if (cmbPos->currentIndex() != cmbPos->count() - 1)
            cmbPos->setCurrentIndex(4);
    }
    if (listIndex() >= 0 && imgM->isVisible())
        lstFile_Click();
}

void frmMain::chkInfoImg_Click()
{
    app.panel.chkInfoImg = chkInfoImg->isChecked() ? 1 : 0;
    if (!chkInfoImg->isChecked()) {
        app.ps.sSyFile.clear();
        lstFile_Click();
        cmbPosImg->setEnabled(false);
        lSY->setText(QStringLiteral("图片水印:无"));
        return;
    }
    if (app.ps.sSyFile.isEmpty()) {
        cmbPosImg->setEnabled(false);
        lSY->setText(QStringLiteral("图片水印:无"));
        return;
    }
    cmbPosImg->setEnabled(true);
    if (cmbPosImg->currentIndex() != cmbPosImg->count() - 1)
        cmbPosImg->setCurrentIndex(3);
    const QString& f = app.ps.sSyFile;
    lSY->setText(QStringLiteral("图片水印:") + (f.size() <= 22 ? f : f.left(3) + QStringLiteral("...") + f.right(17)));
}

void frmMain::txtAlpha_Change()
{
    if (const auto v = numtext::toDouble(txtAlpha->text()))
        app.pic.cmSy.m[3][3] = float(*v / 100.0);
    lstFile_Click();
}

void frmMain::connectPanel()
{
    connect(cmbSize, &QComboBox::currentIndexChanged, this, &frmMain::cmbSize_Click);
    connect(cmbBK, &QComboBox::currentIndexChanged, this, &frmMain::cmbBK_Click);
    connect(cmbEncode, &QComboBox::currentIndexChanged, this, &frmMain::cmbEncode_Click);
    connect(cmbPos, &QComboBox::currentIndexChanged, this, &frmMain::cmbPos_Click);
    connect(cmbPosImg, &QComboBox::currentIndexChanged, this, &frmMain::cmbPosImg_Click);
    connect(chkInfoTxt, &QCheckBox::toggled, this, &frmMain::chkInfoTxt_Click);
    connect(chkInfoImg, &QCheckBox::toggled, this, &frmMain::chkInfoImg_Click);
    connect(txtAlpha, &QLineEdit::textChanged, this, &frmMain::txtAlpha_Change);
    connect(txtW, &QLineEdit::textChanged, this, [this](const QString& t) {
        app.panel.txtW = t;
        lstFile_Click();
    });
    connect(txtH, &QLineEdit::textChanged, this, [this](const QString& t) {
        app.panel.txtH = t;
        lstFile_Click();
    });
    connect(txtSize, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (const auto v = numtext::toInt16(t))
            app.ps.iSize = *v;
        lstFile_Click();
    });
    connect(txtXp, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (const auto v = numtext::toSingle(t))
            app.pic.sngXp = *v;
        lstFile_Click();
    });
    connect(txtYp, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (const auto v = numtext::toSingle(t))
            app.pic.sngYp = *v;
        lstFile_Click();
    });
    connect(cmdODir, &QPushButton::clicked, this, &frmMain::cmdODir_Click);
    connect(cmdSetPX0, &QPushButton::clicked, this, [this] { txtXp->setText(QStringLiteral("0")); });
    connect(cmdSetPY0, &QPushButton::clicked, this, [this] { txtYp->setText(QStringLiteral("0")); });
    connect(chkRM, &QCheckBox::toggled, this, [this](bool on) {
        app.panel.chkRM = on ? 1 : 0;
        txtFileName->setEnabled(on);
        txtNum->setEnabled(on);
    });
    connect(chkPDF, &QCheckBox::toggled, this, [this](bool on) {
        app.panel.chkPDF = on ? 1 : 0;
        cmdPDFSet->setEnabled(on);
    });
    connect(chkFtp, &QCheckBox::toggled, this, [this](bool on) { app.panel.chkFtp = on ? 1 : 0; });
    connect(txtFileName, &QLineEdit::textChanged, this, [this](const QString& t) { app.ps.sPrefix = t; });
    connect(txtNum, &QLineEdit::textChanged, this, [this](const QString& t) { app.panel.txtNum = t; });
}

void frmMain::cmdODir_Click()
{
    app.ps.iDlgMode = 0;
    frmDlg dlg(app, settings_, this);
    dlg.Label1->setText(QStringLiteral("请选择文件夹(处理好的文件将被保存到该文件夹)。"));
    dlg.File1->setEnabled(false);
    dlg.Frame1->hide();
    dlg.setFolder(app.ps.sOutDir);
    if (execChooser(dlg) != QDialog::Accepted || app.ps.sODIR.isEmpty())
        return;
    app.ps.sOutDir = app.ps.sODIR;
    const QString& d = app.ps.sOutDir;
    lOut->setText(QStringLiteral("输出文件夹:") + (d.size() <= 22 ? d : d.left(3) + QStringLiteral("...") + d.right(17)));
}
