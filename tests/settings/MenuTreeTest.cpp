#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QTest>

#include "MenuFixture.h"
#include "settings/SettingsPanel.h"
#include "settings/menus/MenuHost.h"

namespace {

// One line per entry, indented by depth: name|caption|shortcut|states, where
// states lists "off" (disabled), "checked", "unchecked" (checkable) and
// "hidden". Separators read "-", with their name when they have one.
void dump(const QMenu* menu, int depth, QString& out)
{
    const QString indent(depth * 2, QLatin1Char(' '));
    for (const QAction* a : menu->actions()) {
        QStringList states;
        if (!a->isEnabled() && a->isVisible())  // a hidden item also reads as disabled
            states << QStringLiteral("off");
        if (a->isCheckable())
            states << (a->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked"));
        if (!a->isVisible())
            states << QStringLiteral("hidden");
        if (a->isSeparator()) {
            out += indent + QStringLiteral("-") + (a->objectName().isEmpty() ? QString() : QLatin1Char('|') + a->objectName());
        } else {
            const QString name = a->menu() ? a->menu()->objectName() : a->objectName();
            out += indent + name + QLatin1Char('|') + a->text() + QLatin1Char('|') +
                   a->shortcut().toString(QKeySequence::PortableText);
        }
        if (!states.isEmpty())
            out += QLatin1Char('|') + states.join(QLatin1Char(','));
        out += QLatin1Char('\n');
        if (a->menu())
            dump(a->menu(), depth + 1, out);
    }
}

const char* const kMenuBar = R"(mF|文件(&F)|
  mAddDir|添加文件夹内全部图片...|Ctrl+D
  mAddFile|添加单张或多张图片...|Ctrl+F
  mDelFile|移除所选图片||off
  mUndoDel|重新载入移除的图片||off
  mClear|清空添加的全部图片|Ctrl+L|off
  -
  mCopySrc2|屏幕截图...|Ctrl+S
  mCap|摄像头拍照...|
  -
  mExit|退    出|Ctrl+Q
mBrowsPic|浏览(&B)|
  mLBBrows|多图列表浏览原图|
  mLSBrows|幻灯片模式浏览原图|
  -
  mFBrows|全屏查看原图|
  mFBrows2|全屏预览处理图|
mP|调整(&P)|
  mPr|方向旋转|
    mPRT(0)|取消旋转|Ctrl+X|unchecked
    -|mPRT(1)
    mPRT(2)|智能旋转数码照片||unchecked
    mPRT(3)|顺转90度||unchecked
    mPRT(4)|逆转90度||unchecked
    mPRT(5)|旋转180度||unchecked
    mPRT(6)|水平镜像||unchecked
    mPRT(7)|垂直镜像||unchecked
  mPC|色彩通道|
    mPCR(0)|红色通道||checked
    mPCR(1)|绿色通道||checked
    mPCR(2)|蓝色通道||checked
    -|hidden
    mPPro|高级...|
  mPLD|调整亮度...|
  -
  mPCutImg|裁剪图片|Ctrl+U
  mTRect|移动图片|Ctrl+M
  mT0|恢复原点|Ctrl+Z
  mXYPos|坐标定位||off
mX|特效(&X)|
  mTXUndo|无特效||checked
  -
  mTX(0)|一键美容||unchecked
  mTX(1)|棱角分明||unchecked
  mTX(2)|暖黄记忆||unchecked
  mTX(3)|华贵绛紫||unchecked
  mTX(4)|棕褐怀旧||unchecked
  mTX(5)|夜色朦胧||unchecked
  mTX(6)|陈旧往事||unchecked
  mTX(7)|扫描线||unchecked
  mTX(8)|浮雕||unchecked
  mTX(9)|灰度||unchecked
  mTX(10)|黑白||unchecked
  mTX(11)|底片||unchecked
  mTX(12)|BR_NotShow||unchecked,hidden
mS|设置(&S)|
  mSetTxt|文字水印...|Ctrl+T
  mSetImg|图片水印...|Ctrl+P
  -
  mTODir|输出目录...|
  -
  mSPicTxt|图片说明...|Ctrl+E
  mSPDFSet|PDF参数设置...|
  -
  mShowOn2|实时预览||checked
  mTOption|选项...|Ctrl+O
mSSkin|界面(&K)|
  mUI|简约/全屏模式转换|Ctrl+K
  -
  mKTTool|显示顶部工具条|
  mKRTool|显示右侧工具条|
  -
  mSkinOpt|软件换肤|
    mSkin(0)|浅蓝(默认)||unchecked
    mSkin(1)|银灰||unchecked
    mSkin(2)|Aero皮肤||unchecked
    mSkin(3)|经典黑皮肤||unchecked
    mSkin(4)|其他皮肤...||unchecked
mH|帮助(&H)|
  mReadMe|使用指南|F2
  mHWeb|官方网站|F3
  mBBS|交流论坛|F4
  mDownZY|下载素材|F5
  -
  mAbout|关于Vimo...|F1
)";

const char* const kListMenu = R"(mDel|移除图片|
mUndoDelFile|取消移除||off
mClr|全部清空|
-
mShowFSrc|全屏查看|
-
mCopyFileName|复制文件路径|
)";

const char* const kPreviewMenu = R"(mSetTxtSY|设置文字水印|
mSetPicSY|设置图片水印|
-
mPCut|裁剪原图|
mSetXYPos|移动图片|
mSet0|恢复原点|
mXYPos|坐标定位||off
-
mCopyPic|复制图片|
-
mShowF|全屏预览|
-
mShowOn|实时预览||checked
)";

const char* const kPrefixMenu = R"(mFNOpt(0)|#当前日期#|
mFNOpt(1)|#当前时间#|
mFNOpt(2)|#日期和时间#|
mFNOpt(3)|#不要前缀#|
)";

class MenuTree : public MenuFixture {};

TEST_F(MenuTree, EveryMenuHasTheDesignsItemsCaptionsKeysAndStartStates)
{
    frmMain& w = openWindow();
    QString bar;
    for (const QAction* a : w.menuBar()->actions()) {
        ASSERT_NE(a->menu(), nullptr);
        bar += a->menu()->objectName() + QLatin1Char('|') + a->text() + QLatin1Char('|') + QLatin1Char('\n');
        dump(a->menu(), 1, bar);
    }
    EXPECT_EQ(bar.toStdString(), kMenuBar);
    const struct {
        QMenu* menu;
        const char* items;
    } hidden[] = {{menus().mLst, kListMenu}, {menus().mImgOpt, kPreviewMenu}, {menus().mFN, kPrefixMenu}};
    for (const auto& h : hidden) {
        QString items;
        dump(h.menu, 0, items);
        EXPECT_EQ(items.toStdString(), h.items) << h.menu->objectName().toStdString();
        EXPECT_FALSE(w.menuBar()->actions().contains(h.menu->menuAction()));
    }
}

// Every shortcut, pressed in the window, runs its own command.
TEST_F(MenuTree, EveryShortcutReachesItsCommand)
{
    const QString pic = picture(home + "/p/a.png", 80, 60);
    frmMain& w = openWindow({pic});
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    app->rot.iRotateMode = 5;
    w.panel->txtXp->setText(QStringLiteral("7"));
    w.txtPicTxt->hide();
    QStringList tips;
    app->status.setSink([&](const QString& text) { tips << text; });

    const struct {
        const char* key;
        std::function<bool()> ran;
    } cases[] = {
        {"Ctrl+D", [&] { return chooserModes == std::vector<int>{0}; }},
        {"Ctrl+F", [&] { return chooserModes == std::vector<int>{0, 1}; }},
        {"Ctrl+P", [&] { return chooserModes == std::vector<int>{0, 1, 2}; }},
        {"Ctrl+X", [&] { return app->rot.iRotateMode == 0 && menus().mPRT[0]->isChecked(); }},
        {"Ctrl+U", [&] { return app->ps.bCutMode && viewerOpened == 1; }},
        {"Ctrl+M", [&] { return app->win.bMovePic && menus().mXYPos->isEnabled(); }},
        {"Ctrl+Z", [&] { return w.panel->txtXp->text() == QLatin1String("0"); }},
        {"Ctrl+T", [&] { return textDialogOpened == 1 && tips.contains(QStringLiteral("【提示】设置文字水印。")); }},
        {"Ctrl+E", [&] { return w.txtPicTxt->isVisible() && w.txtPicTxt->hasFocus(); }},
        {"Ctrl+O", [&] { return optionsOpened == 1 && optionsGeneralPage; }},
        {"Ctrl+K", [&] { return w.isMaximized(); }},
        {"F1", [&] { return !prompter.prompts.empty() && prompter.prompts.back().text.startsWith("Vimo图片批处理"); }},
        {"F2", [&] { return !shell.opened.empty() && shell.opened.back().endsWith("/ReadMe.txt"); }},
        {"F3", [&] { return shell.opened.size() == 2 && shell.opened.back().startsWith("https://"); }},
        {"F4", [&] { return shell.opened.size() == 3 && shell.opened.back().endsWith("/discussions"); }},
        {"F5", [&] { return shell.opened.size() == 4 && shell.opened.back().endsWith("/releases"); }},
        {"Ctrl+L", [&] { return app->list.empty(); }},
        {"Ctrl+S", [&] { return grabOpened == 1 && !w.isVisible(); }},
        {"Ctrl+Q", [&] { return quits == 1 && !w.isVisible(); }},
    };
    for (const auto& c : cases) {
        if (!w.isVisible()) {
            w.show();
            w.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&w)) << c.key;
        }
        w.lstFile->setFocus();
        const QKeySequence seq(QString::fromLatin1(c.key));
        QTest::keyClick(&w, seq[0].key(), seq[0].keyboardModifiers());
        EXPECT_TRUE(c.ran()) << c.key;
    }
}

// In a text box the box's own editing keys win over the menu shortcuts.
TEST_F(MenuTree, TextBoxesKeepTheirEditingKeys)
{
    frmMain& w = openWindow({picture(home + "/p/a.png", 80, 60)});
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    app->rot.iRotateMode = 5;
    w.panel->cmbSize->setCurrentIndex(w.panel->cmbSize->count() - 1);  // typed size: the width box is editable
    w.panel->txtW->setFocus();
    w.panel->txtW->setText(QStringLiteral("640"));
    w.panel->txtW->selectAll();
    QTest::keyClick(w.panel->txtW, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(w.panel->txtW->text(), QString());
    EXPECT_EQ(app->rot.iRotateMode, 5);
    QTest::keyClick(w.panel->txtW, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.panel->txtW->text(), QStringLiteral("640"));
    w.panel->txtXp->setText(QStringLiteral("9"));
    EXPECT_EQ(w.panel->txtXp->text(), QStringLiteral("9"));
}

} // namespace
