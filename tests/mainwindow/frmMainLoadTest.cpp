#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "MainWindowFixture.h"

namespace {

QStringList entries(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

using MainWindowLoad = MainWindowFixture;

TEST_F(MainWindowLoad, FillsTheChoicesAndListsTheCommandLinePictures)
{
    const QString b = QDir::current().absoluteFilePath(QStringLiteral("dir with space/b.png"));
    frmMain& w = open({QStringLiteral("a.JPG"), QStringLiteral("c.jpeg"), QStringLiteral("d.txt"),
                       QStringLiteral("dir with space/b.png")});

    ASSERT_EQ(w.lstFile->count(), 3);
    EXPECT_EQ(w.lstFile->item(0)->text(), QDir::current().absoluteFilePath(QStringLiteral("a.JPG")));
    EXPECT_EQ(w.lstFile->item(1)->text(), QDir::current().absoluteFilePath(QStringLiteral("c.jpeg")));
    EXPECT_EQ(w.lstFile->item(2)->text(), b);
    EXPECT_EQ(w.lstFile->currentRow(), 2);
    EXPECT_EQ(w.lFile->text(), QStringLiteral("图片数量:3个"));
    EXPECT_TRUE(w.cmdDel->isEnabled());
    EXPECT_TRUE(w.cmdClr->isEnabled());
    // The last entry is selected; its file does not exist, so the caption keeps the title.
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vimo图片批处理" VIMO_VERSION_SHORT "版"));
    EXPECT_TRUE(QFileInfo(home + "/zp").isDir());
    EXPECT_TRUE(QFileInfo(home + "/user").isDir());
    EXPECT_EQ(app->ps.iReady, 1);
    EXPECT_TRUE(app->ps.dibSrc && app->ps.dibWork && app->ps.dibSpare && app->ps.dibTemp);

    EXPECT_EQ(entries(w.panel->cmbSize), (QStringList{"限制宽度", "适应边框", "原始尺寸", "Blog", "Icon", "自定义尺寸..."}));
    EXPECT_EQ(entries(w.panel->cmbBK), (QStringList{"无边框", "blue", "frame", "添加本地边框...", "网络下载边框..."}));
    EXPECT_EQ(entries(w.panel->cmbEncode), (QStringList{"原格式", "jpg", "png", "tiff", "bmp"}));
    EXPECT_EQ(entries(w.panel->cmbPos), (QStringList{"右下", "左下", "左上", "右上", "居中", "自定义"}));
    EXPECT_EQ(entries(w.panel->cmbPosImg), entries(w.panel->cmbPos));
    EXPECT_EQ(app->ps.sOutFormat, QStringLiteral("原格式"));
    // No settings stored: width limit 500, no border, opacity 80, font size 9.
    EXPECT_EQ(w.panel->cmbSize->currentIndex(), 0);
    EXPECT_EQ(w.panel->txtW->text(), QStringLiteral("500"));
    EXPECT_EQ(w.panel->txtH->text(), QStringLiteral("0"));
    EXPECT_EQ(w.panel->cmbBK->currentIndex(), 0);
    EXPECT_EQ(w.panel->txtAlpha->text(), QStringLiteral("80"));
    EXPECT_EQ(w.panel->txtSize->text(), QStringLiteral("9"));
    EXPECT_EQ(app->ps.sOutDir, home + "/zp");
    // The label cuts a long folder to its width; the tool tip has it whole.
    EXPECT_EQ(w.panel->lOut->toolTip(), QStringLiteral("输出文件夹:") + home + "/zp");
    EXPECT_FALSE(w.lblPos->isVisible());
}

TEST_F(MainWindowLoad, TitleShowsTheSelectedPicture)
{
    const QString a = picture(home + "/pics/a.jpg");
    frmMain& w = open({a});
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vimo图片批处理" VIMO_VERSION_SHORT "版 - ") + a);
    EXPECT_EQ(app->ps.sPicFile, a);
}

TEST_F(MainWindowLoad, OnlyARealBorderIsRestored)
{
    struct Case {
        int stored, selected;
    } cases[] = {{1, 1}, {2, 2}, {3, 0}, {4, 0}, {-1, 0}, {99, 0}};
    for (const Case& c : cases) {
        {
            SettingsStore store;
            store.writeInt(QStringLiteral("iuBk"), c.stored);
            store.sync();
        }
        frmMain& w = open();
        EXPECT_EQ(w.panel->cmbBK->currentIndex(), c.selected) << c.stored;
        EXPECT_EQ(app->ps.sBkFile, app->win.sBkFiles.value(c.selected));
        EXPECT_TRUE(prompter.prompts.empty());
        close();
    }
}

TEST_F(MainWindowLoad, SettingsChangedInTheWindowComeBackAtTheNextStart)
{
    {
        frmMain& w = open();
        w.panel->cmbSize->setCurrentIndex(w.panel->cmbSize->count() - 1);
        w.panel->cmbBK->setCurrentIndex(2);
        w.panel->txtAlpha->setText(QStringLiteral("35"));
        app->ps.sText = QStringLiteral("水印");
        app->ps.iuTSyX = 0.25;
        app->ps.iuTSyY = 0.75;
        close();
    }
    frmMain& w = open();
    EXPECT_EQ(w.panel->cmbSize->currentIndex(), w.panel->cmbSize->count() - 1);
    EXPECT_EQ(w.panel->txtW->text(), QStringLiteral("400"));
    EXPECT_EQ(w.panel->cmbBK->currentIndex(), 2);
    EXPECT_EQ(app->ps.sBkFile, share + "/bk/frame.PNG");
    EXPECT_EQ(w.panel->txtAlpha->text(), QStringLiteral("35"));
    EXPECT_FLOAT_EQ(app->pic.cmSy.m[3][3], 0.35f);
    EXPECT_EQ(app->ps.sText, QStringLiteral("水印"));
    EXPECT_TRUE(w.panel->chkInfoTxt->isChecked());
    EXPECT_EQ(w.panel->cmbPos->currentIndex(), 5);
    EXPECT_DOUBLE_EQ(app->ps.iuTSyX, 0.25);
    EXPECT_DOUBLE_EQ(app->ps.iuTSyY, 0.75);
}

} // namespace
