// The menu tree: every menu and item with its design name, caption, shortcut
// and state when the window opens, and the handler each item runs.
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "settings/menus/MenuCommands.h"
#include "settings/menus/MenuHost.h"
#include "settings/menus/PrefixPreset.h"
#include "settings/menus/SkinChoices.h"

namespace {

QAction* item(QMenu* menu, const QString& name, const QString& caption, const char* key = nullptr)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (key)
        a->setShortcut(QKeySequence(QString::fromLatin1(key)));
    return a;
}

QAction* item(QMenu* menu, const char* name, const char* caption, const char* key = nullptr)
{
    return item(menu, QString::fromLatin1(name), QString::fromUtf8(caption), key);
}

QAction* checkItem(QMenu* menu, const QString& name, const QString& caption, bool checked)
{
    QAction* a = item(menu, name, caption);
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}

QMenu* submenu(QWidget* owner, const char* name, const char* caption)
{
    auto* m = new QMenu(QString::fromUtf8(caption), owner);
    m->setObjectName(QString::fromLatin1(name));
    m->setAccessibleName(m->title());
    return m;
}

QString indexed(const char* name, int i)
{
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(name)).arg(i);
}

} // namespace

void MenuCommands::buildMenuBar()
{
    buildFileMenu();
    buildBrowseMenu();
    buildAdjustMenu();
    buildEffectsMenu();
    buildSettingsMenu();
    buildInterfaceMenu();
    buildHelpMenu();
    QMenuBar* bar = host_.mainWindow()->menuBar();
    for (QMenu* m : {mF, mBrowsPic, mP, mX, mS, mSSkin, mH})
        bar->addMenu(m);
    buildContextMenus();
    connectItems();
}

void MenuCommands::buildFileMenu()
{
    mF = submenu(host_.mainWindow(), "mF", "文件(&F)");
    mAddDir = item(mF, "mAddDir", "添加文件夹内全部图片...", "Ctrl+D");
    mAddFile = item(mF, "mAddFile", "添加单张或多张图片...", "Ctrl+F");
    mDelFile = item(mF, "mDelFile", "移除所选图片");
    mUndoDel = item(mF, "mUndoDel", "重新载入移除的图片");
    mClear = item(mF, "mClear", "清空添加的全部图片", "Ctrl+L");
    mF->addSeparator();
    mCopySrc2 = item(mF, "mCopySrc2", "屏幕截图...", "Ctrl+S");
    mCap = item(mF, "mCap", "摄像头拍照...");
    mF->addSeparator();
    mExit = item(mF, "mExit", "退    出", "Ctrl+Q");
    for (QAction* a : {mDelFile, mUndoDel, mClear})
        a->setEnabled(false);
}

void MenuCommands::buildBrowseMenu()
{
    mBrowsPic = submenu(host_.mainWindow(), "mBrowsPic", "浏览(&B)");
    mLBBrows = item(mBrowsPic, "mLBBrows", "多图列表浏览原图");
    mLSBrows = item(mBrowsPic, "mLSBrows", "幻灯片模式浏览原图");
    mBrowsPic->addSeparator();
    mFBrows = item(mBrowsPic, "mFBrows", "全屏查看原图");
    mFBrows2 = item(mBrowsPic, "mFBrows2", "全屏预览处理图");
}

void MenuCommands::buildAdjustMenu()
{
    QWidget* owner = host_.mainWindow();
    mP = submenu(owner, "mP", "调整(&P)");
    mPr = submenu(mP, "mPr", "方向旋转");
    mP->addMenu(mPr);
    const char* const rotations[] = {"取消旋转", "-", "智能旋转数码照片", "顺转90度", "逆转90度", "旋转180度", "水平镜像", "垂直镜像"};
    for (int i = 0; i < 8; ++i) {
        if (i == 1) {
            mPRT[1] = mPr->addSeparator();
            mPRT[1]->setObjectName(indexed("mPRT", 1));
            continue;
        }
        mPRT[size_t(i)] = checkItem(mPr, indexed("mPRT", i), QString::fromUtf8(rotations[i]), false);
    }
    mPRT[0]->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));

    mPC = submenu(mP, "mPC", "色彩通道");
    mP->addMenu(mPC);
    const char* const channels[] = {"红色通道", "绿色通道", "蓝色通道"};
    for (int i = 0; i < 3; ++i)
        mPCR[size_t(i)] = checkItem(mPC, indexed("mPCR", i), QString::fromUtf8(channels[i]), true);
    mPCSep = mPC->addSeparator();
    mPCSep->setVisible(false);
    mPPro = item(mPC, "mPPro", "高级...");
    mPLD = item(mP, "mPLD", "调整亮度...");
    mP->addSeparator();
    mPCutImg = item(mP, "mPCutImg", "裁剪图片", "Ctrl+U");
    mTRect = item(mP, "mTRect", "移动图片", "Ctrl+M");
    mT0 = item(mP, "mT0", "恢复原点", "Ctrl+Z");
}

void MenuCommands::buildEffectsMenu()
{
    mX = submenu(host_.mainWindow(), "mX", "特效(&X)");
    mTXUndo = checkItem(mX, QStringLiteral("mTXUndo"), QStringLiteral("无特效"), true);
    mX->addSeparator();
    const char* const effects[] = {"一键美容", "棱角分明", "暖黄记忆", "华贵绛紫", "棕褐怀旧", "夜色朦胧", "陈旧往事",
                                   "扫描线", "浮雕", "灰度", "黑白", "底片", "BR_NotShow"};
    for (int i = 0; i < 13; ++i)
        mTX[size_t(i)] = checkItem(mX, indexed("mTX", i), QString::fromUtf8(effects[i]), false);
    mTX[12]->setVisible(false);
}

void MenuCommands::buildSettingsMenu()
{
    mS = submenu(host_.mainWindow(), "mS", "设置(&S)");
    mSetTxt = item(mS, "mSetTxt", "文字水印...", "Ctrl+T");
    mSetImg = item(mS, "mSetImg", "图片水印...", "Ctrl+P");
    mS->addSeparator();
    mTODir = item(mS, "mTODir", "输出目录...");
    mS->addSeparator();
    mSPicTxt = item(mS, "mSPicTxt", "图片说明...", "Ctrl+E");
    mSPDFSet = item(mS, "mSPDFSet", "PDF参数设置...");
    mS->addSeparator();
    mShowOn2 = checkItem(mS, QStringLiteral("mShowOn2"), QStringLiteral("实时预览"), true);
    mTOption = item(mS, "mTOption", "选项...", "Ctrl+O");
}

void MenuCommands::buildInterfaceMenu()
{
    mSSkin = submenu(host_.mainWindow(), "mSSkin", "界面(&K)");
    mUI = item(mSSkin, "mUI", "简约/全屏模式转换", "Ctrl+K");
    mSSkin->addSeparator();
    mKTTool = item(mSSkin, "mKTTool", "显示顶部工具条");
    mKRTool = item(mSSkin, "mKRTool", "显示右侧工具条");
    mSSkin->addSeparator();
    mSkinOpt = submenu(mSSkin, "mSkinOpt", "软件换肤");
    mSSkin->addMenu(mSkinOpt);
    for (int i = 0; i < 5; ++i)
        mSkin[size_t(i)] = checkItem(mSkinOpt, indexed("mSkin", i), skinCaption(i), false);
}

void MenuCommands::buildHelpMenu()
{
    mH = submenu(host_.mainWindow(), "mH", "帮助(&H)");
    mReadMe = item(mH, "mReadMe", "使用指南", "F2");
    mHWeb = item(mH, "mHWeb", "官方网站", "F3");
    mBBS = item(mH, "mBBS", "交流论坛", "F4");
    mDownZY = item(mH, "mDownZY", "下载素材", "F5");
    mH->addSeparator();
    mAbout = item(mH, "mAbout", "关于Vimo...", "F1");
}

void MenuCommands::buildContextMenus()
{
    QWidget* owner = host_.mainWindow();
    mLst = submenu(owner, "mLst", "图片列表");
    mDel = item(mLst, "mDel", "移除图片");
    mUndoDelFile = item(mLst, "mUndoDelFile", "取消移除");
    mClr = item(mLst, "mClr", "全部清空");
    mLst->addSeparator();
    mShowFSrc = item(mLst, "mShowFSrc", "全屏查看");
    mLst->addSeparator();
    mCopyFileName = item(mLst, "mCopyFileName", "复制文件路径");
    mUndoDelFile->setEnabled(false);

    mImgOpt = submenu(owner, "mImgOpt", "预览");
    mSetTxtSY = item(mImgOpt, "mSetTxtSY", "设置文字水印");
    mSetPicSY = item(mImgOpt, "mSetPicSY", "设置图片水印");
    mImgOpt->addSeparator();
    mPCut = item(mImgOpt, "mPCut", "裁剪原图");
    mSetXYPos = item(mImgOpt, "mSetXYPos", "移动图片");
    mSet0 = item(mImgOpt, "mSet0", "恢复原点");
    mXYPos = item(mImgOpt, "mXYPos", "坐标定位");
    mXYPos->setEnabled(false);
    // The typed start point is on only in the move mode, which a right click
    // on the preview ends before this menu could open: the same item stands
    // under "调整" beside the move commands, where the mode stays on.
    mP->addAction(mXYPos);
    mImgOpt->addSeparator();
    mCopyPic = item(mImgOpt, "mCopyPic", "复制图片");
    mImgOpt->addSeparator();
    mShowF = item(mImgOpt, "mShowF", "全屏预览");
    mImgOpt->addSeparator();
    mShowOn = checkItem(mImgOpt, QStringLiteral("mShowOn"), QStringLiteral("实时预览"), true);

    mFN = submenu(owner, "mFN", "文件名前缀");
    for (int i = 0; i < 4; ++i)
        mFNOpt[size_t(i)] = item(mFN, indexed("mFNOpt", i), QString::fromUtf8(kPrefixCaptions[i]));
}

void MenuCommands::onChoose(QAction* a, std::function<void()> handler)
{
    connect(a, &QAction::triggered, this, [a, handler = std::move(handler)] {
        // Qt flips a checkable item's mark before it reports the choice; the
        // handlers set the marks themselves, so the flip is taken back first.
        if (a->isCheckable())
            a->setChecked(!a->isChecked());
        handler();
    });
}

void MenuCommands::connectItems()
{
    // File
    onChoose(mAddDir, [this] { host_.cmdAdds_Click(); });
    onChoose(mAddFile, [this] { host_.cmdAdd_Click(); });
    onChoose(mDelFile, [this] { host_.cmdDel_Click(); });
    onChoose(mUndoDel, [this] { host_.mUndoDel_Click(); });
    onChoose(mClear, [this] { host_.cmdClr_Click(); });
    onChoose(mCopySrc2, [this] { mCopySrc2_Click(); });
    onChoose(mCap, [this] { mCap_Click(); });
    onChoose(mExit, [this] { mExit_Click(); });
    // Browse
    onChoose(mLBBrows, [this] { mLBBrows_Click(); });
    onChoose(mLSBrows, [this] { mLSBrows_Click(); });
    onChoose(mFBrows, [this] { mFBrows_Click(); });
    onChoose(mFBrows2, [this] { mFBrows2_Click(); });
    // Adjust
    for (int i : {0, 2, 3, 4, 5, 6, 7})
        onChoose(mPRT[size_t(i)], [this, i] { mPRT_Click(i); });
    for (int i = 0; i < 3; ++i)
        onChoose(mPCR[size_t(i)], [this, i] { mPCR_Click(i); });
    onChoose(mPPro, [this] { mPPro_Click(); });
    onChoose(mPLD, [this] { mPLD_Click(); });
    onChoose(mPCutImg, [this] { mPCutImg_Click(); });
    onChoose(mTRect, [this] { mTRect_Click(); });
    onChoose(mT0, [this] { mT0_Click(); });
    // Effects
    onChoose(mTXUndo, [this] { mTXUndo_Click(); });
    for (int i = 0; i < 13; ++i)
        onChoose(mTX[size_t(i)], [this, i] { mTX_Click(i); });
    // Settings
    onChoose(mSetTxt, [this] { mSetTxt_Click(); });
    onChoose(mSetImg, [this] { mSetImg_Click(); });
    onChoose(mTODir, [this] { mTODir_Click(); });
    onChoose(mSPicTxt, [this] { mSPicTxt_Click(); });
    onChoose(mSPDFSet, [this] { mSPDFSet_Click(); });
    onChoose(mShowOn2, [this] { mShowOn_Click(); });
    onChoose(mTOption, [this] { mTOption_Click(); });
    // Interface
    onChoose(mUI, [this] { mUI_Click(); });
    onChoose(mKTTool, [this] { mKTTool_Click(); });
    onChoose(mKRTool, [this] { mKRTool_Click(); });
    for (int i = 0; i < 5; ++i)
        onChoose(mSkin[size_t(i)], [this, i] { mSkin_Click(i); });
    // Help
    onChoose(mReadMe, [this] { mReadMe_Click(); });
    onChoose(mHWeb, [this] { mHWeb_Click(); });
    onChoose(mBBS, [this] { mBBS_Click(); });
    onChoose(mDownZY, [this] { mDownZY_Click(); });
    onChoose(mAbout, [this] { mAbout_Click(); });
    // Picture list
    onChoose(mDel, [this] { host_.cmdDel_Click(); });
    onChoose(mUndoDelFile, [this] { host_.mUndoDel_Click(); });
    onChoose(mClr, [this] { host_.cmdClr_Click(); });
    onChoose(mShowFSrc, [this] { mFBrows_Click(); });
    onChoose(mCopyFileName, [this] { mCopyFileName_Click(); });
    // Preview
    onChoose(mSetTxtSY, [this] { mSetTxt_Click(); });
    onChoose(mSetPicSY, [this] { mSetImg_Click(); });
    onChoose(mPCut, [this] { mPCutImg_Click(); });
    onChoose(mSetXYPos, [this] { mTRect_Click(); });
    onChoose(mSet0, [this] { mT0_Click(); });
    onChoose(mXYPos, [this] { mXYPos_Click(); });
    onChoose(mCopyPic, [this] { mCopyPic_Click(); });
    onChoose(mShowF, [this] { mFBrows2_Click(); });
    onChoose(mShowOn, [this] { mShowOn_Click(); });
    // File-name prefix
    for (int i = 0; i < 4; ++i)
        onChoose(mFNOpt[size_t(i)], [this, i] { mFNOpt_Click(i); });
}
