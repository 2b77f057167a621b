// The settings panel of the main window: size, border and format; the
// watermarks and the start point; the output switches; colours, rotation and
// effects. Controls get their design captions, entries and start states here;
// the load fills the choice boxes.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "mainwindow/ControlFactory.h"
#include "mainwindow/frmMain.h"

namespace {

QLabel* caption(QWidget* box, const char* name, const QString& text, QRect place)
{
    return makeCaptioned<QLabel>(box, QString::fromLatin1(name), text, place);
}

} // namespace

void frmMain::buildSettingsPanel()
{
    buildSizeControls(NiceContainr2);
    buildWatermarkControls(NiceContainr3);
    buildOutputControls(NiceContainr4);
    buildColourControls(NiceContainr5);
}

void frmMain::buildSizeControls(QWidget* box)
{
    cmbSize = makeControl<QComboBox>(box, QStringLiteral("cmbSize"), QStringLiteral("图片尺寸"), {8, 8, 184, 24});
    caption(box, "lblW", QStringLiteral("宽:"), {8, 40, 22, 20});
    txtW = makeControl<QLineEdit>(box, QStringLiteral("txtW"), QStringLiteral("宽度"), {30, 38, 60, 24});
    caption(box, "lblH", QStringLiteral("高:"), {100, 40, 22, 20});
    txtH = makeControl<QLineEdit>(box, QStringLiteral("txtH"), QStringLiteral("高度"), {122, 38, 60, 24});
    txtW->setText(QStringLiteral("400"));
    txtH->setText(QStringLiteral("300"));
    cmbBK = makeControl<QComboBox>(box, QStringLiteral("cmbBK"), QStringLiteral("边框"), {8, 70, 184, 24});
    caption(box, "lblEncode", QStringLiteral("格式:"), {8, 104, 40, 20});
    cmbEncode = makeControl<QComboBox>(box, QStringLiteral("cmbEncode"), QStringLiteral("输出格式"), {50, 102, 142, 24});
    cmbSize->setMaxVisibleItems(25);
    cmbBK->setMaxVisibleItems(25);
}

void frmMain::buildWatermarkControls(QWidget* box)
{
    chkInfoTxt = makeCaptioned<QCheckBox>(box, QStringLiteral("chkInfoTxt"), QStringLiteral("文字"), {8, 6, 56, 22});
    cmdTSet = makeCaptioned<QPushButton>(box, QStringLiteral("cmdTSet"), QStringLiteral("文本水印"), {66, 4, 76, 24});
    cmbPos = makeControl<QComboBox>(box, QStringLiteral("cmbPos"), QStringLiteral("文字水印位置"), {146, 4, 78, 24});
    lTxt = makeCaptioned<QLabel>(box, QStringLiteral("lTxt"), QStringLiteral("文字水印:无"), {8, 30, 150, 20});
    caption(box, "lblSize", QStringLiteral("字号"), {160, 30, 28, 20});
    txtSize = makeControl<QLineEdit>(box, QStringLiteral("txtSize"), QStringLiteral("水印文字大小"), {190, 28, 34, 22});
    txtSize->setText(QStringLiteral("9"));

    chkInfoImg = makeCaptioned<QCheckBox>(box, QStringLiteral("chkInfoImg"), QStringLiteral("图片"), {8, 58, 56, 22});
    cmdSetP = makeCaptioned<QPushButton>(box, QStringLiteral("cmdSetP"), QStringLiteral("图片水印"), {66, 56, 76, 24});
    cmbPosImg = makeControl<QComboBox>(box, QStringLiteral("cmbPosImg"), QStringLiteral("图片水印位置"), {146, 56, 78, 24});
    lSY = makeCaptioned<QLabel>(box, QStringLiteral("lSY"), QStringLiteral("图片水印:无"), {8, 82, 150, 20});
    caption(box, "lblAlpha", QStringLiteral("透明"), {160, 82, 28, 20});
    txtAlpha = makeControl<QLineEdit>(box, QStringLiteral("txtAlpha"), QStringLiteral("水印透明度"), {190, 80, 34, 22});
    txtAlpha->setText(QStringLiteral("80"));
    cmbPos->setEnabled(false);
    cmbPosImg->setEnabled(false);

    cmdSetPos = makeCaptioned<QPushButton>(box, QStringLiteral("cmdSetPos"), QStringLiteral("移动图片"), {8, 112, 70, 24});
    caption(box, "lblXp", QStringLiteral("X"), {82, 114, 10, 20});
    txtXp = makeControl<QLineEdit>(box, QStringLiteral("txtXp"), QStringLiteral("图片左边界"), {92, 112, 40, 24});
    cmdSetPX0 = makeCaptioned<QPushButton>(box, QStringLiteral("cmdSetPX0"), QStringLiteral("0"), {132, 112, 20, 24});
    caption(box, "lblYp", QStringLiteral("Y"), {156, 114, 10, 20});
    txtYp = makeControl<QLineEdit>(box, QStringLiteral("txtYp"), QStringLiteral("图片上边界"), {166, 112, 40, 24});
    cmdSetPY0 = makeCaptioned<QPushButton>(box, QStringLiteral("cmdSetPY0"), QStringLiteral("0"), {206, 112, 20, 24});
    txtXp->setText(QStringLiteral("0"));
    txtYp->setText(QStringLiteral("0"));
}

void frmMain::buildOutputControls(QWidget* box)
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
    chkFtp = makeCaptioned<QCheckBox>(box, QStringLiteral("chkFtp"), QStringLiteral("上传到互联网"), {8, 110, 120, 22});
    chkFtp->hide();
    cmdOption = makeCaptioned<QPushButton>(box, QStringLiteral("cmdOption"), QStringLiteral("选项"), {8, 136, 88, 26});
    cmdImgCut = makeCaptioned<QPushButton>(box, QStringLiteral("cmdImgCut"), QStringLiteral("裁剪图片"), {104, 136, 88, 26});
}

void frmMain::buildColourControls(QWidget* box)
{
    static const char* const channels[] = {"红", "绿", "蓝"};
    static const char* const channelTips[] = {"红色分量大小", "绿色分量大小", "蓝色分量大小"};
    for (int i = 0; i < 3; ++i) {
        txtRGB[size_t(i)] = makeControl<QLineEdit>(box, QStringLiteral("txtRGB(%1)").arg(i),
                                                   QString::fromUtf8(channelTips[i]), {8 + i * 58, 6, 24, 22});
        txtRGB[size_t(i)]->setText(QStringLiteral("1"));
        txtRGB[size_t(i)]->setToolTip(QString::fromUtf8(channelTips[i]));
        cmdRGB[size_t(i)] = makeCaptioned<QPushButton>(box, QStringLiteral("cmdRGB(%1)").arg(i),
                                                       QString::fromUtf8(channels[i]), {34 + i * 58, 4, 26, 26});
    }
    cmdMR = makeCaptioned<QPushButton>(box, QStringLiteral("cmdMR"), QStringLiteral("美容"), {8, 36, 60, 26});
    cmdTX = makeCaptioned<QPushButton>(box, QStringLiteral("cmdTX"), QStringLiteral(">"), {72, 36, 30, 26});
    cmdDone = makeCaptioned<QPushButton>(box, QStringLiteral("cmdDone"), QStringLiteral("开始处理"), {8, 70, 170, 44});
    cmdStop = makeCaptioned<QPushButton>(box, QStringLiteral("cmdStop"), QStringLiteral("停止"), {8, 120, 170, 30});
    cmdStop->setEnabled(false);

    // Rotation and mirroring sit in the tool panel along the top of the preview.
    static const char* const rotations[] = {"原图", "", "自动", "+90", "-90", "180", "水平", "垂直"};
    static const char* const rotationTips[] = {"恢复图片原始方向", "", "自动扶正非正常方向拍摄的数码照片",
                                               "顺时针旋转90度", "逆时针旋转90度", "旋转180度",
                                               "以水平线为轴镜像", "以垂线为轴镜像"};
    for (int i = 0, x = 4; i < 8; ++i) {
        if (i == 1)
            continue;
        cmdR[size_t(i)] = makeCaptioned<QPushButton>(Frame4, QStringLiteral("cmdR(%1)").arg(i),
                                                     QString::fromUtf8(rotations[i]), {x, 8, 48, 26});
        cmdR[size_t(i)]->setToolTip(QString::fromUtf8(rotationTips[i]));
        x += 50;
    }

    frmTZ = makeControl<QFrame>(picImg, QStringLiteral("frmTZ"), QStringLiteral("亮度"), {248, 36, 240, 64});
    frmTZ->setFrameShape(QFrame::StyledPanel);
    frmTZ->setAutoFillBackground(true);
    caption(frmTZ, "lblLD", QStringLiteral("亮度"), {6, 6, 40, 20});
    sldLD = makeControl<QSlider>(frmTZ, QStringLiteral("sldLD"), QStringLiteral("亮度"), {48, 6, 186, 22});
    sldLD->setOrientation(Qt::Horizontal);
    sldLD->setRange(-75, 75);
    sldLD->setValue(0);
    cmdLD = makeCaptioned<QPushButton>(frmTZ, QStringLiteral("cmdLD"), QStringLiteral("默认"), {48, 34, 60, 24});
    cmdCloseTZ = makeCaptioned<QPushButton>(frmTZ, QStringLiteral("cmdCloseTZ"), QStringLiteral("关闭"), {120, 34, 60, 24});
    frmTZ->hide();

    frmeJZ = makeCaptioned<QGroupBox>(picImg, QStringLiteral("frmeJZ"), QStringLiteral("颜色矩阵调整"), {20, 50, 300, 200});
    frmeJZ->setAutoFillBackground(true);
    for (int i = 0; i < 25; ++i) {
        const int r = i / 5, c = i % 5;
        Text1[size_t(i)] = makeControl<QLineEdit>(frmeJZ, QStringLiteral("Text1(%1)").arg(i), {},
                                                  {10 + c * 56, 22 + r * 28, 50, 24});
        Text1[size_t(i)]->setText(r == c ? QStringLiteral("1") : QStringLiteral("0"));
    }
    cmdJZOK = makeCaptioned<QPushButton>(frmeJZ, QStringLiteral("cmdJZOK"), QStringLiteral("确定"), {120, 166, 80, 26});
    cmdJZCancel = makeCaptioned<QPushButton>(frmeJZ, QStringLiteral("cmdJZCancel"), QStringLiteral("取消"), {210, 166, 80, 26});
    frmeJZ->hide();
}
