#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "PanelFixture.h"
#include "settings/frmTxtSet.h"
#include "settings/menus/MenuCommands.h"

namespace {

using WatermarkPanel = PanelFixture;

TEST_F(WatermarkPanel, SwitchesTakeTheirDefaultPositions)
{
    SettingsPanel& p = openPanel();
    const QString mark = magick(home + "/sy/mark.png", 10, 10, "white");
    commands.onSetImg = [&] { app->ps.sSyFile = mark; };
    int dialogs = 0;
    p.execTextDialog = [&](frmTxtSet& dlg) {
        ++dialogs;
        dlg.reject();
        return int(QDialog::Rejected);
    };

    // Ticked without a text: the dialog opens; cancelled, the switch goes off.
    p.chkInfoTxt->setChecked(true);
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(p.chkInfoTxt->isChecked());
    EXPECT_EQ(p.lTxt->text(), QStringLiteral("文字水印:无"));

    struct Case {
        QCheckBox* box;
        QComboBox* position;
        int preset;
        QLabel* label;
        const char* none;
    };
    app->ps.sText = QStringLiteral("水印");
    const Case cases[] = {
        {p.chkInfoTxt, p.cmbPos, 4, p.lTxt, "文字水印:无"},
        {p.chkInfoImg, p.cmbPosImg, 3, p.lSY, "图片水印:无"},
    };
    for (const Case& c : cases) {
        c.box->setChecked(true);
        EXPECT_EQ(c.position->currentIndex(), c.preset);
        EXPECT_TRUE(c.position->isEnabled());
        EXPECT_NE(c.label->text(), QString::fromUtf8(c.none));
        // A free position stays when the switch goes off and on again.
        c.position->setCurrentIndex(5);
        c.box->setChecked(false);
        EXPECT_FALSE(c.position->isEnabled());
        EXPECT_EQ(c.label->text(), QString::fromUtf8(c.none));
    }
    EXPECT_TRUE(app->ps.sText.isEmpty());
    EXPECT_TRUE(app->ps.sSyFile.isEmpty());
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(commands.calls, QStringList{QStringLiteral("mSetImg_Click")});

    app->ps.sText = QStringLiteral("又一个水印");
    p.chkInfoTxt->setChecked(true);
    EXPECT_EQ(p.cmbPos->currentIndex(), 5);
    EXPECT_EQ(p.lTxt->text(), QStringLiteral("文字水印:又一个水印"));
    EXPECT_EQ(app->status.text(), QStringLiteral("【提示】成功设置文字水印:又一个水印"));

    // The free position hands the marker over: it blinks.
    p.cmbPos->setCurrentIndex(0);
    EXPECT_FALSE(window->menus->mXYPos->isEnabled());
    p.cmbPos->setCurrentIndex(5);
    EXPECT_TRUE(window->marker().blinking());
    EXPECT_FALSE(app->ps.bMarkIsImg);

    // No picture chosen: the picture switch does not stay on.
    commands.onSetImg = {};
    p.chkInfoImg->setChecked(true);
    EXPECT_FALSE(p.chkInfoImg->isChecked());
}

TEST_F(WatermarkPanel, ShortFormOfAPath)
{
    const struct {
        QString path, shown;
    } cases[] = {
        {QString(), QString()},
        {QStringLiteral("/home/u/pic/mark22.png"), QStringLiteral("/home/u/pic/mark22.png")},  // 22: whole
        {QStringLiteral("/home/u/pics/mark23.png"), QStringLiteral("/ho...u/pics/mark23.png")},
        {QStringLiteral("/home/user/wm/mark_30chars.png"), QStringLiteral("/ho.../mark_30chars.png")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingsPanel::shortForm(c.path), c.shown) << c.path.toStdString();

    SettingsPanel& p = openPanel();
    const QString mark = magick(home + "/a-long-folder/mark.png", 10, 10, "white");
    commands.onSetImg = [&] { app->ps.sSyFile = mark; };
    p.chkInfoImg->setChecked(true);
    EXPECT_EQ(p.lSY->toolTip(), QStringLiteral("图片水印:") + mark);
    EXPECT_EQ(p.lSY->text(), QStringLiteral("图片水印:") + SettingsPanel::shortForm(mark));
    EXPECT_EQ(app->status.text(), QStringLiteral("【提示】已设置图片水印:") + mark + QStringLiteral("。"));
}

TEST_F(WatermarkPanel, OpacityFiftyBlendsHalfAndBadTextsKeepIt)
{
    SettingsPanel& p = openPanel({magick(home + "/src/black.png", 60, 60, "black")});
    const QString mark = magick(home + "/sy/grey.png", 20, 20, "rgb(200,200,200)");
    commands.onSetImg = [&] { app->ps.sSyFile = mark; };
    p.cmbSize->setCurrentIndex(2);  // the source's size
    p.chkInfoImg->setChecked(true);
    p.cmbPosImg->setCurrentIndex(4);  // centre
    p.txtAlpha->setText(QStringLiteral("50"));
    EXPECT_FLOAT_EQ(app->pic.cmSy.m[3][3], 0.5f);
    for (const char* bad : {"", "abc", "150", "-1", "3.5"}) {
        p.txtAlpha->setText(QString::fromLatin1(bad));
        EXPECT_FLOAT_EQ(app->pic.cmSy.m[3][3], 0.5f) << bad;
    }
    const QStringList out = runInto(home + "/out");
    ASSERT_EQ(out.size(), 1);
    const auto rgb = pixel(home + "/out/" + out[0], 30, 30);
    for (int c : rgb)
        EXPECT_NEAR(c, 100, 2);
    EXPECT_EQ(pixel(home + "/out/" + out[0], 2, 2), (std::array<int, 3>{0, 0, 0}));
}

TEST_F(WatermarkPanel, NumbersAndStartPoint)
{
    SettingsPanel& p = openPanel();
    p.txtSize->setText(QStringLiteral("14"));
    EXPECT_EQ(app->ps.iSize, 14);
    p.txtSize->setText(QStringLiteral("40000"));  // too big: kept
    EXPECT_EQ(app->ps.iSize, 14);
    p.txtXp->setText(QStringLiteral("12.5"));
    p.txtYp->setText(QStringLiteral("-3"));
    EXPECT_FLOAT_EQ(app->pic.sngXp, 12.5f);
    EXPECT_FLOAT_EQ(app->pic.sngYp, -3.0f);
    p.cmdSetPX0->click();
    p.cmdSetPY0->click();
    EXPECT_FLOAT_EQ(app->pic.sngXp, 0.0f);
    EXPECT_FLOAT_EQ(app->pic.sngYp, 0.0f);
}

} // namespace
