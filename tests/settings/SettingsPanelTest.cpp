#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <functional>

#include "DamagedGifs.h"
#include "DamagedJpegs.h"
#include "PanelFixture.h"
#include "TempDir.h"
#include "settings/frmDlg.h"
#include "settings/frmFtp.h"
#include "settings/menus/MenuCommands.h"

namespace {

class SettingsPanelTest : public PanelFixture {
protected:
    // The chooser confirms `folder`, or is cancelled when it is empty; counts its openings.
    void chooseFolder(const QString& folder)
    {
        window->execChooser = [=, this](frmDlg& dlg) {
            ++choosers;
            if (folder.isEmpty()) {
                dlg.cmdCancel_Click();
            } else {
                dlg.setFolder(folder);
                dlg.cmdOK_Click();
            }
            return dlg.result();
        };
    }

    static void click(QWidget* w)
    {
        const QPointF at(4, 4);
        QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(w, &press);
        QCoreApplication::sendEvent(w, &release);
    }

    static QStringList entries(const QComboBox* box)
    {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }

    int choosers = 0;
};

TEST_F(SettingsPanelTest, SizeModesSetTheirTextsAndEnabling)
{
    SettingsPanel& p = openPanel();
    struct Case {
        int index;
        const char *w, *h;
        bool wOn, hOn;
    };
    // Entries: 限制宽度, 适应边框, 原始尺寸, Blog;640;480, Icon;120;120, 自定义尺寸...
    const Case cases[] = {
        {5, "400", "300", true, true}, {1, "0", "0", false, false},     {2, "0", "0", false, false},
        {3, "640", "480", false, false}, {4, "120", "120", false, false}, {0, "500", "0", true, false},
    };
    for (const Case& c : cases) {
        p.cmbSize->setCurrentIndex(c.index);
        EXPECT_EQ(app->ps.iSizeMode, c.index);
        EXPECT_EQ(p.txtW->text(), QString::fromLatin1(c.w)) << c.index;
        EXPECT_EQ(p.txtH->text(), QString::fromLatin1(c.h)) << c.index;
        EXPECT_EQ(p.txtW->isEnabled(), c.wOn) << c.index;
        EXPECT_EQ(p.txtH->isEnabled(), c.hOn) << c.index;
        EXPECT_EQ(app->panel.txtW, p.txtW->text());
    }
    // Fit to border picks the first border when none was chosen.
    p.cmbBK->setCurrentIndex(0);
    p.cmbSize->setCurrentIndex(1);
    EXPECT_EQ(p.cmbBK->currentIndex(), 1);
    // The custom size picked again resets its numbers.
    p.cmbSize->setCurrentIndex(5);
    p.txtW->setText(QStringLiteral("900"));
    QCoreApplication::processEvents();  // the user's next pick comes later
    emit p.cmbSize->activated(5);
    EXPECT_EQ(p.txtW->text(), QStringLiteral("400"));
}

TEST_F(SettingsPanelTest, SizeFileRowGivesThatOutputSize)
{
    QFile sizes(ProgramFolders::sizeFile());
    ASSERT_TRUE(sizes.open(QIODevice::WriteOnly));
    sizes.write("A;640;480\r\n");
    sizes.close();
    SettingsPanel& p = openPanel({magick(home + "/src/wide.png", 1000, 500, "orange")});
    ASSERT_EQ(p.cmbSize->itemText(3), QStringLiteral("A"));
    p.cmbSize->setCurrentIndex(3);
    const QStringList out = runInto(home + "/out");
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(sizeOf(home + "/out/" + out[0]), "640 480");
}

TEST_F(SettingsPanelTest, LocalBordersAddEachPngOnceAndSelectTheLast)
{
    SettingsPanel& p = openPanel();
    const QString dir = home + "/more";
    magick(dir + "/X.PNG", 30, 20, "red");
    magick(dir + "/y.png", 30, 20, "blue");
    magick(dir + "/z.jpg", 30, 20, "green");
    const QStringList before = entries(p.cmbBK);  // 无边框, blue, frame, two commands

    chooseFolder(QString());
    const int inUse = p.cmbBK->currentIndex();
    p.cmbBK->setCurrentIndex(p.cmbBK->count() - 2);
    EXPECT_EQ(p.cmbBK->currentIndex(), inUse) << "a cancel leaves the border in use shown";
    QCoreApplication::processEvents();
    p.cmbBK->setCurrentIndex(p.cmbBK->count() - 2);  // picked again after the cancel
    EXPECT_EQ(choosers, 2);
    EXPECT_EQ(entries(p.cmbBK), before);

    chooseFolder(dir);
    QCoreApplication::processEvents();
    emit p.cmbBK->activated(p.cmbBK->count() - 2);
    QCoreApplication::processEvents();
    p.cmbBK->setCurrentIndex(p.cmbBK->count() - 2);  // the same folder again adds nothing
    QStringList after = entries(p.cmbBK);
    EXPECT_EQ(after.mid(0, 3), before.mid(0, 3));
    QStringList added = after.mid(3, after.size() - 5);
    added.sort();
    EXPECT_EQ(added, (QStringList{"X", "y"}));
    EXPECT_EQ(after.mid(after.size() - 2), before.mid(before.size() - 2));
    EXPECT_EQ(p.cmbBK->currentIndex(), p.cmbBK->count() - 3);
    EXPECT_EQ(app->ps.sBkFile, app->win.sBkFiles.value(p.cmbBK->count() - 3));
    EXPECT_TRUE(app->ps.sBkFile.startsWith(dir + "/")) << app->ps.sBkFile.toStdString();
    EXPECT_EQ(app->win.sBkFiles.size(), p.cmbBK->count() - 2);
}

TEST_F(SettingsPanelTest, AFullBorderListKeepsAPathForEveryEntry)
{
    SettingsPanel& p = openPanel();
    const QString dir = home + "/many";
    QDir().mkpath(dir);
    for (int i = 0; i < 520; ++i) {
        QFile f(dir + QStringLiteral("/b%1.png").arg(i, 3, 10, QLatin1Char('0')));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    chooseFolder(dir);
    p.cmbBK->setCurrentIndex(p.cmbBK->count() - 2);
    EXPECT_EQ(p.cmbBK->count() - 2, 501);
    EXPECT_EQ(app->win.sBkFiles.size(), 501);
    EXPECT_EQ(p.cmbBK->currentIndex(), 500);
    EXPECT_EQ(app->ps.sBkFile, app->win.sBkFiles[500]);
    EXPECT_EQ(app->status.text(), QStringLiteral("【提示】边框列表已满,其余边框未添加。"));
}

TEST_F(SettingsPanelTest, NoBorderAndTheDownloadEntryLeaveTheBorderOff)
{
    SettingsPanel& p = openPanel();
    p.cmbSize->setCurrentIndex(1);  // fit border: a border is chosen
    ASSERT_FALSE(app->ps.sBkFile.isEmpty());
    p.cmbBK->setCurrentIndex(0);
    EXPECT_EQ(p.cmbSize->currentIndex(), 0);
    EXPECT_EQ(p.txtW->text(), QStringLiteral("500"));
    EXPECT_EQ(p.txtH->text(), QStringLiteral("0"));

    p.cmbBK->setCurrentIndex(1);
    p.cmbBK->setCurrentIndex(p.cmbBK->count() - 1);
    EXPECT_EQ(p.cmbBK->currentIndex(), 0);
    EXPECT_TRUE(app->ps.sBkFile.isEmpty());
    ASSERT_EQ(shell.opened.size(), 1u) << shell.opened.back().toStdString();
    EXPECT_EQ(shell.opened[0], SettingsPanel::kBorderDownloadPage);

    // A format choice changes the format only.
    const QString border = app->ps.sBkFile;
    p.cmbEncode->setCurrentIndex(3);
    EXPECT_EQ(app->ps.sOutFormat, QStringLiteral("tiff"));
    EXPECT_EQ(app->ps.sBkFile, border);
}

// A border chosen from the list that cannot be read whole (cut, or over the
// JPEG scan cap) is said by the preview's redraw, and that stays in the status
// line; the hint on the mouse wheel comes with a sound border.
TEST_F(SettingsPanelTest, ChoosingADamagedBorderKeepsItsTipInTheStatusLine)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    // Border entries are the PNG names of the border folder; each file is read by its content.
    const std::string scratch = home.toStdString();
    const auto intoBorders = [&](const std::string& made, const QString& name) {
        ASSERT_FALSE(made.empty()) << name.toStdString();
        writeFile((share + "/bk/" + name).toStdString(), readFile(made));
    };
    intoBorders(damagedgifs::cutInHalf(scratch, "gif.gif", "64x48"), QStringLiteral("cut-gif.png"));
    intoBorders(damagedjpegs::cutInHalf(scratch, "jpeg.jpg", "64x48"), QStringLiteral("cut-jpeg.png"));
    intoBorders(damagedjpegs::manyScans(scratch, "scans.jpg", 150), QStringLiteral("scans.png"));
    const std::string png =
        readFile(magickConvert({"-seed", "1", "-size", "64x48", "xc:gray", "+noise", "Random"}, scratch + "/whole.png"));
    writeFile((share + "/bk/cut-png.png").toStdString(), png.substr(0, png.size() / 2));

    SettingsPanel& p = openPanel({picture(home + "/p/good.jpg", 200, 150)});
    window->setListIndex(0);
    ASSERT_TRUE(window->previewShown());
    const QString wheel = QStringLiteral("【提示】滚动鼠标滚轮可以选择不同的边框。");
    for (const char* entry : {"cut-gif", "blue", "cut-jpeg", "scans", "cut-png", "frame"}) {
        const int i = p.cmbBK->findText(QString::fromLatin1(entry));
        ASSERT_GE(i, 1) << entry;
        p.cmbBK->setCurrentIndex(i);
        const QString said = app->status.text();
        if (QByteArray(entry).startsWith("cut") || QByteArray(entry) == "scans") {
            EXPECT_TRUE(said.startsWith(QStringLiteral("【提示】边框图片")) &&
                        said.endsWith(QStringLiteral(":") + entry + QStringLiteral(".png")))
                << entry << ": " << said.toStdString();
        } else {
            EXPECT_EQ(said, wheel) << entry;
        }
    }
    EXPECT_EQ(app->status.text(), wheel);
    p.cmbBK->setCurrentIndex(p.cmbBK->findText(QStringLiteral("cut-gif")));
    EXPECT_EQ(app->status.text(), QStringLiteral("【提示】边框图片数据不完整或已损坏,缺少的部分为灰色:cut-gif.png"));
}

// The size choices that ask for numbers say how in the status line, unless
// the redraw with the new size said what is wrong with the picture.
TEST_F(SettingsPanelTest, ChoosingASizeKeepsTheDamageTipOfThePicture)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    const std::string cut = damagedjpegs::cutInHalf(home.toStdString(), "cut.jpg", "200x150");
    ASSERT_FALSE(cut.empty());
    SettingsPanel& p = openPanel({picture(home + "/p/good.jpg", 200, 150), QString::fromStdString(cut)});
    const QString damaged = QStringLiteral("【提示】图片数据不完整或已损坏,缺少的部分为灰色:cut.jpg");
    const struct Case {
        int index;  // 限制宽度, or 自定义尺寸...
        const char* hint;
    } cases[] = {{5, "【提示】请输入图片宽度和高度。"}, {0, "【提示】输入图片宽度,高度将按原图片比例自动换算。"}};
    for (const Case& c : cases) {
        p.cmbSize->setCurrentIndex(2);
        window->setListIndex(1);
        ASSERT_EQ(app->status.text(), damaged);
        p.cmbSize->setCurrentIndex(c.index);
        EXPECT_EQ(app->status.text(), damaged) << c.index;
        p.cmbSize->setCurrentIndex(2);
        window->setListIndex(0);
        p.cmbSize->setCurrentIndex(c.index);
        EXPECT_EQ(app->status.text(), QString::fromUtf8(c.hint)) << c.index;
    }
}

// A command given up leaves nothing of itself behind: once the folder chooser
// of "添加本地边框..." is cancelled, or the picture-move mode is left with a
// right click, the status line says again what it said of the picture (what is
// wrong with a damaged one) and the border box shows the border in use.
TEST_F(SettingsPanelTest, GivingUpACommandBringsThePicturesTipBack)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    const std::string cut = damagedjpegs::cutInHalf(home.toStdString(), "cut.jpg", "200x150");
    ASSERT_FALSE(cut.empty());
    SettingsPanel& p = openPanel({picture(home + "/p/good.jpg", 200, 150), QString::fromStdString(cut)});
    window->show();
    const QString damaged = QStringLiteral("【提示】图片数据不完整或已损坏,缺少的部分为灰色:cut.jpg");
    const auto giveUpFolder = [&] {
        chooseFolder(QString());
        const int before = choosers;
        p.cmbBK->setCurrentIndex(p.cmbBK->count() - 2);
        EXPECT_EQ(choosers, before + 1);
    };
    const auto leaveMoveMode = [&] {
        window->menus->mTRect->trigger();
        ASSERT_TRUE(app->win.bMovePic);
        EXPECT_TRUE(app->status.text().startsWith(QStringLiteral("【提示】按住鼠标左键拖动蓝色方块")));
        const QPointF at(5, 5);
        QMouseEvent right(QEvent::MouseButtonPress, at, window->imgM->mapToGlobal(at), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window->imgM, &right);
        EXPECT_FALSE(app->win.bMovePic);
    };
    const struct Command {
        const char* what;
        std::function<void()> giveUp;
    } givenUp[] = {{"a border folder not chosen", giveUpFolder}, {"the move mode left", leaveMoveMode}};
    for (const Command& c : givenUp) {
        for (const int entry : {1, 0}) {  // the damaged picture, then a sound one
            for (const QString& border : {QStringLiteral("blue"), QStringLiteral("无边框")}) {
                SCOPED_TRACE(std::string(c.what) + ", entry " + std::to_string(entry) + ", " + border.toStdString());
                window->setListIndex(entry);
                p.cmbBK->setCurrentIndex(p.cmbBK->findText(border));
                window->lstFile_Click();
                const QString said = app->status.text();
                ASSERT_EQ(said == damaged, entry == 1) << said.toStdString();
                const QString inUse = app->ps.sBkFile;
                c.giveUp();
                EXPECT_EQ(app->status.text().toStdString(), said.toStdString());
                EXPECT_EQ(p.cmbBK->currentText().toStdString(), border.toStdString());
                EXPECT_EQ(app->ps.sBkFile, inUse);
            }
        }
    }
}

TEST_F(SettingsPanelTest, FirstClickSelectsLaterClicksOnlyTip)
{
    SettingsPanel& p = openPanel();
    struct Case {
        QLineEdit* box;
        const char* tip;
    };
    const Case cases[] = {
        {p.txtW, "【提示】输入图片的宽度(单位:像素)。"},
        {p.txtAlpha, "【提示】请输入水印图片的透明度(0-100，数字越大越不透明)。"},
        {p.txtNum, "【提示】请输入图片文件名的顺序号位数(比如输入3,那么文件名将类似Vimo_001.jpg)。"},
    };
    for (const Case& c : cases) {
        c.box->setEnabled(true);
        click(c.box);
        EXPECT_EQ(c.box->selectedText(), c.box->text()) << c.tip;
        EXPECT_EQ(app->status.text(), QString::fromUtf8(c.tip));
        app->status.show(QString());
        click(c.box);
        EXPECT_TRUE(c.box->selectedText().isEmpty()) << c.tip;
        EXPECT_EQ(app->status.text(), QString::fromUtf8(c.tip));
    }
}

TEST_F(SettingsPanelTest, ButtonsForwardToTheSharedCommands)
{
    SettingsPanel& p = openPanel();
    struct Case {
        QAbstractButton* button;
        const char* call;
    };
    const Case cases[] = {
        {p.cmdTSet, "mSetTxt_Click"},   {p.cmdSetP, "mSetImg_Click"},     {p.cmdSetPos, "mTRect_Click"},
        {p.cmdOption, "mTOption_Click"}, {p.cmdImgCut, "mPCutImg_Click"}, {p.cmdMR, "mTX_Click(0)"},
        {p.cmdR[0], "mPRT_Click(0)"},   {p.cmdR[5], "mPRT_Click(5)"},     {p.cmdR[7], "mPRT_Click(7)"},
        {p.cmdRGB[1], "mPCR_Click(1)"},
    };
    for (const Case& c : cases) {
        commands.calls.clear();
        c.button->click();
        EXPECT_EQ(commands.calls, QStringList{QString::fromLatin1(c.call)}) << c.call;
    }
    commands.calls.clear();
    p.chkPDF->setChecked(true);
    EXPECT_TRUE(p.cmdPDFSet->isEnabled());
    p.cmdPDFSet->click();
    p.sldLD->setValue(20);
    p.cmdLD->click();  // back to 0: a change, so the brightness effect again
    p.cmdLD->click();  // already 0: nothing
    EXPECT_EQ(commands.calls, (QStringList{"mSPDFSet_Click", "mTX_Click(12)", "mTX_Click(12)"}));
    EXPECT_EQ(app->panel.sldLD, 0);
    EXPECT_EQ(p.cmdR[5]->toolTip(), QStringLiteral("旋转180度"));
    EXPECT_EQ(p.cmdRGB[2]->toolTip(), QStringLiteral("蓝色通道开关"));

    // Without commands the buttons do nothing.
    p.setCommands(nullptr);
    commands.calls.clear();
    for (const Case& c : cases)
        c.button->click();
    EXPECT_TRUE(commands.calls.isEmpty());
}

TEST_F(SettingsPanelTest, OutputSwitchesAndFolder)
{
    SettingsPanel& p = openPanel({magick(home + "/src/a.png", 20, 10, "white")});
    p.chkRM->setChecked(true);
    EXPECT_TRUE(p.txtFileName->isEnabled());
    EXPECT_TRUE(p.txtNum->isEnabled());
    p.txtFileName->setText(QString());
    EXPECT_EQ(app->ps.sPrefix, QString());
    // A prefix with separators still names a file inside the output folder.
    p.txtFileName->setText(QStringLiteral("a/b\\c_"));
    EXPECT_EQ(app->ps.sPrefix, QStringLiteral("a/b\\c_"));
    EXPECT_EQ(runInto(home + "/out"), QStringList{QStringLiteral("a_b_c_0000.png")});
    p.chkRM->setChecked(false);
    EXPECT_FALSE(p.txtFileName->isEnabled());

    const QString folder = home + "/一个很长的输出文件夹名字/结果";
    QDir().mkpath(folder);
    chooseFolder(folder);
    p.cmdODir->click();
    EXPECT_EQ(app->ps.sOutDir, folder);
    EXPECT_EQ(p.lOut->toolTip(), QStringLiteral("输出文件夹:") + folder);
    EXPECT_EQ(SettingsPanel::shortForm(folder), folder.left(3) + "..." + folder.right(17));
    chooseFolder(QString());
    p.cmdODir->click();
    EXPECT_EQ(app->ps.sOutDir, folder);
}

TEST_F(SettingsPanelTest, UploadSwitchWarnsAndAsksForTheTarget)
{
    SettingsPanel& p = openPanel();
    int asked = 0;
    p.execFtpDialog = [&](frmFtp& dlg) {
        ++asked;
        dlg.reject();
        return int(QDialog::Rejected);
    };
    app->ftp.sFtpServer = QStringLiteral("ftp://");
    p.chkFtp->setChecked(true);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(p.chkFtp->isChecked());  // no target given: no upload
    EXPECT_EQ(app->panel.chkFtp, 0);
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].title, QStringLiteral("敬告"));
    EXPECT_EQ(prompter.prompts[0].icon, PromptIcon::Exclamation);
    EXPECT_TRUE(prompter.prompts[0].text.startsWith(QStringLiteral("严禁上传淫秽、暴力、反动等国家禁止或有违道德图片！")));

    app->ftp.sFtpServer = QStringLiteral("FTP://");  // written otherwise: counts as set
    p.chkFtp->setChecked(true);
    EXPECT_EQ(asked, 2);  // asked again, and given up: the target set stays
    EXPECT_EQ(prompter.prompts.size(), 2u);
    EXPECT_TRUE(p.chkFtp->isChecked());
    EXPECT_EQ(app->panel.chkFtp, 1);
    EXPECT_EQ(app->status.text(), QStringLiteral("【提示】图片将被上传到互联网,请确保网络连接正常。"));
    p.chkFtp->setChecked(false);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(prompter.prompts.size(), 2u);
    EXPECT_EQ(app->panel.chkFtp, 0);
    EXPECT_NE(app->status.text(), QStringLiteral("【提示】图片将被上传到互联网,请确保网络连接正常。"));
}

TEST_F(SettingsPanelTest, PrefixAndEffectMenusPopUp)
{
    SettingsPanel& p = openPanel();
    window->show();
    p.chkRM->setChecked(true);
    const QPointF at(4, 4);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, p.txtFileName->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QCoreApplication::sendEvent(p.txtFileName, &dbl);
    ASSERT_TRUE(window->menus->mFN->isVisible());
    EXPECT_EQ(window->menus->mFN->pos(), p.txtFileName->mapToGlobal(QPoint(0, p.txtFileName->height())));
    window->menus->mFN->hide();
    p.cmdTX->click();
    EXPECT_TRUE(window->menus->mX->isVisible());
    window->menus->mX->hide();
}

TEST_F(SettingsPanelTest, DescriptionsAreKeptPerEntryOnEnter)
{
    openPanel({magick(home + "/src/a.png", 20, 10, "white"), magick(home + "/src/b.png", 20, 10, "black")});
    frmMain& w = *window;
    QLineEdit* box = w.txtPicTxt;
    QFocusEvent focus(QEvent::FocusIn);
    QCoreApplication::sendEvent(box, &focus);
    EXPECT_EQ(app->status.text(), QStringLiteral("【提示】请输入对该图片的说明，该说明将在PDF文档或被整合到网页中。"));
    const auto key = [&](int k) {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &e);
    };
    for (int i : {0, 1}) {
        w.setListIndex(i);
        box->setText(QStringLiteral("说明%1").arg(i));
        key(Qt::Key_Return);
    }
    w.setListIndex(0);
    box->setText(QStringLiteral("未确认"));  // typed, no Enter: not kept
    w.setListIndex(1);
    EXPECT_EQ(app->list.at(0).description, QStringLiteral("说明0"));
    EXPECT_EQ(app->list.at(1).description, QStringLiteral("说明1"));
    EXPECT_EQ(box->text(), QStringLiteral("说明1"));
    key(Qt::Key_Escape);
    EXPECT_TRUE(box->isHidden());
}

} // namespace
