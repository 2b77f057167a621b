#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "settings/PanelCommands.h"

class QAction;
class QMenu;
struct AppState;
class SettingsStore;
class Prompter;
class Shell;
class MenuHost;
class frmOption;

// The main window's menu bar and its three context menus, with one handler
// per item. The handlers live in one file per menu (FileMenu.cpp,
// BrowseMenu.cpp, AdjustMenu.cpp, EffectsMenu.cpp, SettingsMenu.cpp,
// InterfaceMenu.cpp, HelpMenu.cpp, ContextMenus.cpp); MenuTree.cpp builds
// the items. Check marks are set by the handlers alone, so a menu click and
// a panel button that forwards here leave the same marks.
class MenuCommands : public QObject, public PanelCommands {
    Q_OBJECT
public:
    MenuCommands(AppState& app, SettingsStore& settings, Prompter& prompter, Shell& shell, MenuHost& host);

    // --- File "文件(&F)"
    void mCopySrc2_Click();
    void mCap_Click();
    void mExit_Click();
    // --- Browse "浏览(&B)"
    void mLBBrows_Click();
    void mLSBrows_Click();
    void mFBrows_Click();
    void mFBrows2_Click();
    // --- Adjust "调整(&P)"
    void mPRT_Click(int index) override;
    void mPCR_Click(int index) override;
    void mPPro_Click();
    void mPLD_Click();
    void mPCutImg_Click() override;
    void mTRect_Click() override;
    void mT0_Click();
    void mXYPos_Click();
    // --- Effects "特效(&X)"
    void mTX_Click(int index) override;
    void mTXUndo_Click();
    // --- Settings "设置(&S)"
    void mSetTxt_Click() override;
    void mSetImg_Click() override;
    void mTODir_Click();
    void mSPicTxt_Click();
    void mSPDFSet_Click() override;
    void mTOption_Click() override;
    void mShowOn_Click();
    // --- Interface "界面(&K)"
    void mUI_Click();
    void mKTTool_Click();
    void mKRTool_Click();
    void mSkin_Click(int index);
    // --- Help "帮助(&H)"
    void mReadMe_Click();
    void mHWeb_Click();
    void mBBS_Click();
    void mDownZY_Click();
    void mAbout_Click();
    // --- Context menus of the list, the preview and the file-name box
    void mCopyFileName_Click();
    void mCopyPic_Click();
    void mFNOpt_Click(int index);

    // Both "实时预览" items show the live-preview switch as it stands.
    void showPreviewChecks();

    // Windows that other parts of the program provide. The viewer and the
    // screen grab open without waiting, the webcam modally. While one is not
    // set, its command opens nothing and says so in the status line.
    std::function<void()> showViewer, showScreenGrab, showWebcam;
    // Where the options dialog is shown, so that tests can drive it.
    std::function<int(frmOption&)> execOptions;
    // Ends the program after the window closed normally.
    std::function<void()> quit;

    // Menus and items, named as in the design.
    QMenu *mF, *mBrowsPic, *mP, *mPr, *mPC, *mX, *mS, *mSSkin, *mSkinOpt, *mH;
    QMenu *mLst, *mImgOpt, *mFN;
    QAction *mAddDir, *mAddFile, *mDelFile, *mUndoDel, *mClear, *mCopySrc2, *mCap, *mExit;
    QAction *mLBBrows, *mLSBrows, *mFBrows, *mFBrows2;
    std::array<QAction*, 8> mPRT{};  // index 1 is a separator
    std::array<QAction*, 3> mPCR{};
    QAction *mPCSep, *mPPro, *mPLD, *mPCutImg, *mTRect, *mT0;
    QAction* mTXUndo;
    std::array<QAction*, 13> mTX{};  // index 12 is hidden: the brightness slider's effect
    QAction *mSetTxt, *mSetImg, *mTODir, *mSPicTxt, *mSPDFSet, *mShowOn2, *mTOption;
    QAction *mUI, *mKTTool, *mKRTool;
    std::array<QAction*, 5> mSkin{};
    QAction *mReadMe, *mHWeb, *mBBS, *mDownZY, *mAbout;
    QAction *mDel, *mUndoDelFile, *mClr, *mShowFSrc, *mCopyFileName;
    QAction *mSetTxtSY, *mSetPicSY, *mPCut, *mSetXYPos, *mSet0, *mXYPos, *mCopyPic, *mShowF, *mShowOn;
    std::array<QAction*, 4> mFNOpt{};

private:
    // MenuTree.cpp
    void buildMenuBar();
    void buildFileMenu();
    void buildBrowseMenu();
    void buildAdjustMenu();
    void buildEffectsMenu();
    void buildSettingsMenu();
    void buildInterfaceMenu();
    void buildHelpMenu();
    void buildContextMenus();
    void connectItems();
    void onChoose(QAction* item, std::function<void()> handler);

    void openViewer();
    void openOptions(bool pdfPage);
    void applySkin();

    AppState& app;
    SettingsStore& settings_;
    Prompter& prompter_;
    Shell& shell_;
    MenuHost& host_;
};
