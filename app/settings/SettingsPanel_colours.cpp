// Colours, rotation and effects: the colour-matrix panel, the three channel
// factors, the brightness panel, and the buttons that share a menu command.
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "settings/PanelCommands.h"
#include "settings/PreviewServices.h"
#include "settings/SettingsPanel.h"
#include "state/AppState.h"
#include "state/NumberText.h"
#include "widgets/ControlFactory.h"

namespace {

const char* const kChannels[] = {"红", "绿", "蓝"};
const char* const kChannelTips[] = {"红色分量大小", "绿色分量大小", "蓝色分量大小"};
const char* const kRotations[] = {"原图", "", "自动", "+90", "-90", "180", "水平", "垂直"};
const char* const kRotationTips[] = {"恢复图片原始方向", "", "自动扶正非正常方向拍摄的数码照片",
                                     "顺时针旋转90度", "逆时针旋转90度", "旋转180度",
                                     "以水平线为轴镜像", "以垂线为轴镜像"};

} // namespace

void SettingsPanel::buildColourControls(QWidget* box, QWidget* preview, QWidget* toolStrip)
{
    for (int i = 0; i < 3; ++i) {
        const auto k = size_t(i);
        txtRGB[k] = makeControl<QLineEdit>(box, QStringLiteral("txtRGB(%1)").arg(i),
                                           QString::fromUtf8(kChannelTips[i]), {8 + i * 58, 6, 24, 22});
        txtRGB[k]->setText(QStringLiteral("1"));
        txtRGB[k]->setToolTip(QString::fromUtf8(kChannelTips[i]));
        cmdRGB[k] = makeCaptioned<QPushButton>(box, QStringLiteral("cmdRGB(%1)").arg(i),
                                               QString::fromUtf8(kChannels[i]), {34 + i * 58, 4, 26, 26});
        cmdRGB[k]->setToolTip(QString::fromUtf8(kChannels[i]) + QStringLiteral("色通道开关"));
    }
    cmdMR = makeCaptioned<QPushButton>(box, QStringLiteral("cmdMR"), QStringLiteral("美容"), {8, 36, 60, 26});
    cmdTX = makeCaptioned<QPushButton>(box, QStringLiteral("cmdTX"), QStringLiteral(">"), {72, 36, 30, 26});

    for (int i = 0, x = 4; i < 8; ++i) {
        if (i == 1)
            continue;
        cmdR[size_t(i)] = makeCaptioned<QPushButton>(toolStrip, QStringLiteral("cmdR(%1)").arg(i),
                                                     QString::fromUtf8(kRotations[i]), {x, 8, 48, 26});
        cmdR[size_t(i)]->setToolTip(QString::fromUtf8(kRotationTips[i]));
        x += 50;
    }

    frmTZ = makeControl<QFrame>(preview, QStringLiteral("frmTZ"), QStringLiteral("亮度"), {248, 36, 240, 64});
    frmTZ->setFrameShape(QFrame::StyledPanel);
    frmTZ->setAutoFillBackground(true);
    makeCaptioned<QLabel>(frmTZ, QStringLiteral("lblLD"), QStringLiteral("亮度"), {6, 6, 40, 20});
    sldLD = makeControl<QSlider>(frmTZ, QStringLiteral("sldLD"), QStringLiteral("亮度"), {48, 6, 186, 22});
    sldLD->setOrientation(Qt::Horizontal);
    sldLD->setRange(-75, 75);
    sldLD->setValue(0);
    cmdLD = makeCaptioned<QPushButton>(frmTZ, QStringLiteral("cmdLD"), QStringLiteral("默认"), {48, 34, 60, 24});
    cmdCloseTZ = makeCaptioned<QPushButton>(frmTZ, QStringLiteral("cmdCloseTZ"), QStringLiteral("关闭"), {120, 34, 60, 24});
    frmTZ->hide();

    frmeJZ = makeCaptioned<QGroupBox>(preview, QStringLiteral("frmeJZ"), QStringLiteral("颜色矩阵调整"), {20, 50, 300, 200});
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

void SettingsPanel::connectColours()
{
    for (int i = 0; i < 25; ++i)
        connect(Text1[size_t(i)], &QLineEdit::textChanged, this, [this, i] { Text1_Change(i); });
    connect(cmdJZOK, &QPushButton::clicked, this, &SettingsPanel::cmdJZOK_Click);
    connect(cmdJZCancel, &QPushButton::clicked, this, &SettingsPanel::cmdJZCancel_Click);
    for (int i = 0; i < 3; ++i) {
        connect(txtRGB[size_t(i)], &QLineEdit::textChanged, this, [this, i] { txtRGB_Change(i); });
        connect(cmdRGB[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdRGB_Click(i); });
    }
    for (int i = 0; i < 8; ++i)
        if (cmdR[size_t(i)])
            connect(cmdR[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdR_Click(i); });
    connect(sldLD, &QSlider::valueChanged, this, &SettingsPanel::sldLD_Change);
    connect(cmdLD, &QPushButton::clicked, this, &SettingsPanel::cmdLD_Click);
    connect(cmdCloseTZ, &QPushButton::clicked, this, &SettingsPanel::cmdCloseTZ_Click);
    connect(cmdMR, &QPushButton::clicked, this, &SettingsPanel::cmdMR_Click);
    connect(cmdTX, &QPushButton::clicked, this, &SettingsPanel::cmdTX_Click);
}

void SettingsPanel::Text1_Change(int index)
{
    if (index < 0 || index >= 25)
        return;
    // The panel shows the matrix transposed: its row is the output component.
    if (const auto v = numtext::toSingle(Text1[size_t(index)]->text()))
        app.pic.cmPic.m[size_t(index % 5)][size_t(index / 5)] = *v;
    if (!frmeJZ->isHidden())
        window_.redrawPreview();
}

void SettingsPanel::showColourMatrix()
{
    app.win.cmBackup = app.pic.cmPic;
    frmeJZ->show();
    frmeJZ->raise();
    cmdJZOK->show();
    cmdJZCancel->show();
}

void SettingsPanel::cmdJZOK_Click()
{
    frmeJZ->hide();
    cmdJZCancel->hide();
    cmdJZOK->hide();
}

void SettingsPanel::cmdJZCancel_Click()
{
    app.pic.cmPic = app.win.cmBackup;
    frmeJZ->hide();
    cmdJZCancel->hide();
    cmdJZOK->hide();
    if (window_.previewShown())
        window_.redrawPreview();
}

void SettingsPanel::txtRGB_Change(int)
{
    const auto r = numtext::toSingle(txtRGB[0]->text());
    const auto g = numtext::toSingle(txtRGB[1]->text());
    const auto b = numtext::toSingle(txtRGB[2]->text());
    if (r && g && b)
        SetColorFactors(*r, *g, *b, 1.0f);
    if (window_.previewShown())
        window_.redrawPreview();
}

void SettingsPanel::txtRGB_Click(int)
{
    window_.showTip(QStringLiteral("【提示】请输入数字。数字越大该颜色越重(建议0-10之间，可以是小数)。"));
}

void SettingsPanel::SetColorFactors(float r, float g, float b, float a)
{
    auto& m = app.pic.cmPic.m;
    for (size_t i = 0; i < 4; ++i)
        for (size_t j = 0; j < 4; ++j)
            m[i][j] = 0.0f;
    m[0][0] = r;
    m[1][1] = g;
    m[2][2] = b;
    m[3][3] = a;
}

void SettingsPanel::cmdRGB_Click(int index)
{
    if (commands_)
        commands_->mPCR_Click(index);
}

void SettingsPanel::sldLD_Change()
{
    app.panel.sldLD = sldLD->value();
    if (commands_)
        commands_->mTX_Click(12);
}

void SettingsPanel::cmdLD_Click()
{
    sldLD->setValue(0);
}

void SettingsPanel::cmdCloseTZ_Click()
{
    frmTZ->hide();
}

void SettingsPanel::cmdMR_Click()
{
    if (commands_)
        commands_->mTX_Click(0);
}

void SettingsPanel::cmdR_Click(int index)
{
    if (commands_)
        commands_->mPRT_Click(index);
}

void SettingsPanel::cmdTX_Click()
{
    window_.popupEffectsMenu(QCursor::pos());
}
