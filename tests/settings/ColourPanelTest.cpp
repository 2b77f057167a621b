#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "PanelFixture.h"

namespace {

class ColourPanel : public PanelFixture {
protected:
    // One run of the picture rgb(40,50,60) at its own size; the colour of its middle.
    std::array<int, 3> runColour()
    {
        QDir(home + "/out").removeRecursively();
        const QStringList out = runInto(home + "/out");
        EXPECT_EQ(out.size(), 1);
        return out.isEmpty() ? std::array<int, 3>{} : pixel(home + "/out/" + out[0], 5, 5);
    }
    SettingsPanel& openWithPicture()
    {
        SettingsPanel& p = openPanel({magick(home + "/src/c.png", 10, 10, "rgb(40,50,60)")});
        p.cmbSize->setCurrentIndex(2);
        return p;
    }
};

TEST_F(ColourPanel, MatrixBoxesAndFactorsChangeTheOutput)
{
    SettingsPanel& p = openWithPicture();
    p.showColourMatrix();
    // Box 1 is row 0 (red out), column 1 (green in).
    p.Text1[1]->setText(QStringLiteral("2"));
    EXPECT_FLOAT_EQ(app->pic.cmPic.m[1][0], 2.0f);
    EXPECT_EQ(runColour(), (std::array<int, 3>{140, 50, 60}));

    p.Text1[20]->setText(QStringLiteral("0.1"));  // row 4, the fifth output: stored, not drawn
    p.Text1[2]->setText(QStringLiteral("x"));     // no number: unchanged
    EXPECT_FLOAT_EQ(app->pic.cmPic.m[2][0], 0.0f);

    // Factors replace every mixing element of the top-left block.
    p.txtRGB[1]->setText(QStringLiteral("0"));
    EXPECT_FLOAT_EQ(app->pic.cmPic.m[1][0], 0.0f);
    EXPECT_EQ(runColour(), (std::array<int, 3>{40, 0, 60}));
    p.txtRGB[0]->setText(QStringLiteral("x"));  // one box not a number: no factor applies
    EXPECT_FLOAT_EQ(app->pic.cmPic.m[0][0], 1.0f);
}

TEST_F(ColourPanel, CancelRestoresTheMatrixOfTheOpening)
{
    SettingsPanel& p = openWithPicture();
    p.Text1[0]->setText(QStringLiteral("0.5"));  // hidden panel: stored all the same
    EXPECT_FLOAT_EQ(app->pic.cmPic.m[0][0], 0.5f);
    const ColorMatrix opened = app->pic.cmPic;
    p.showColourMatrix();
    EXPECT_FALSE(p.frmeJZ->isHidden());
    p.Text1[6]->setText(QStringLiteral("3"));
    p.txtRGB[2]->setText(QStringLiteral("2"));
    p.cmdJZCancel->click();
    EXPECT_EQ(app->pic.cmPic, opened);
    EXPECT_TRUE(p.frmeJZ->isHidden());

    p.showColourMatrix();
    p.Text1[6]->setText(QStringLiteral("4"));
    p.cmdJZOK->click();
    EXPECT_FLOAT_EQ(app->pic.cmPic.m[1][1], 4.0f);
    EXPECT_TRUE(p.frmeJZ->isHidden());
}

} // namespace
