// The menus whose entries the picture list and the preview switch on and off,
// and the commands they forward to.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "mainwindow/frmMain.h"
#include "state/AppState.h"

namespace {

QAction* item(QMenu* menu, const char* name, const QString& caption, QKeySequence key = {})
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty())
        a->setShortcut(key);
    return a;
}

QMenu* menu(QWidget* owner, const char* name, const QString& caption)
{
    auto* m = new QMenu(caption, owner);
    m->setObjectName(QString::fromLatin1(name));
    m->setAccessibleName(caption);
    return m;
}

} // namespace

void frmMain::buildMenus()
{
    mF = menu(this, "mF", QStringLiteral("文件(&F)"));
    menuBar()->addMenu(mF);
    mAddDir = item(mF, "mAddDir", QStringLiteral("添加文件夹内全部图片..."), QKeySequence(QStringLiteral("Ctrl+D")));
    mAddFile = item(mF, "mAddFile", QStringLiteral("添加单张或多张图片..."), QKeySequence(QStringLiteral("Ctrl+F")));
    mDelFile = item(mF, "mDelFile", QStringLiteral("移除所选图片"));
    mUndoDel = item(mF, "mUndoDel", QStringLiteral("重新载入移除的图片"));
    mClear = item(mF, "mClear", QStringLiteral("清空添加的全部图片"), QKeySequence(QStringLiteral("Ctrl+L")));
    mF->addSeparator();
    mExit = item(mF, "mExit", QStringLiteral("退    出"), QKeySequence(QStringLiteral("Ctrl+Q")));
    for (QAction* a : {mDelFile, mUndoDel, mClear})
        a->setEnabled(false);

    mX = menu(this, "mX", QStringLiteral("特效(&X)"));
    menuBar()->addMenu(mX);
    mTXUndo = item(mX, "mTXUndo", QStringLiteral("无特效"));
    mTXUndo->setCheckable(true);
    mTXUndo->setChecked(true);

    mLst = menu(this, "mLst", QStringLiteral("图片列表"));
    mDel = item(mLst, "mDel", QStringLiteral("移除图片"));
    mUndoDelFile = item(mLst, "mUndoDelFile", QStringLiteral("取消移除"));
    mClr = item(mLst, "mClr", QStringLiteral("全部清空"));
    mLst->addSeparator();
    mShowFSrc = item(mLst, "mShowFSrc", QStringLiteral("全屏查看"));
    mLst->addSeparator();
    mCopyFileName = item(mLst, "mCopyFileName", QStringLiteral("复制文件路径"));
    mUndoDelFile->setEnabled(false);

    mImgOpt = menu(this, "mImgOpt", QStringLiteral("预览"));
    mSetTxtSY = item(mImgOpt, "mSetTxtSY", QStringLiteral("设置文字水印"));
    mSetPicSY = item(mImgOpt, "mSetPicSY", QStringLiteral("设置图片水印"));
    mImgOpt->addSeparator();
    mPCut = item(mImgOpt, "mPCut", QStringLiteral("裁剪原图"));
    mSetXYPos = item(mImgOpt, "mSetXYPos", QStringLiteral("移动图片"));
    mSet0 = item(mImgOpt, "mSet0", QStringLiteral("恢复原点"));
    mXYPos = item(mImgOpt, "mXYPos", QStringLiteral("坐标定位"));
    mXYPos->setEnabled(false);
    mImgOpt->addSeparator();
    mCopyPic = item(mImgOpt, "mCopyPic", QStringLiteral("复制图片"));
    mImgOpt->addSeparator();
    mShowF = item(mImgOpt, "mShowF", QStringLiteral("全屏预览"));
    mImgOpt->addSeparator();
    mShowOn = item(mImgOpt, "mShowOn", QStringLiteral("实时预览"));
    mShowOn->setCheckable(true);
    mShowOn->setChecked(true);

    mFN = menu(this, "mFN", QStringLiteral("文件名前缀"));
    const char* const presets[] = {"#当前日期#", "#当前时间#", "#日期和时间#", "#不要前缀#"};
    for (int i = 0; i < 4; ++i)
        item(mFN, QStringLiteral("mFNOpt(%1)").arg(i).toLatin1().constData(), QString::fromUtf8(presets[i]));

    connect(mAddDir, &QAction::triggered, this, &frmMain::cmdAdds_Click);
    connect(mAddFile, &QAction::triggered, this, &frmMain::cmdAdd_Click);
    connect(mDelFile, &QAction::triggered, this, &frmMain::cmdDel_Click);
    connect(mDel, &QAction::triggered, this, &frmMain::cmdDel_Click);
    connect(mUndoDel, &QAction::triggered, this, &frmMain::mUndoDel_Click);
    connect(mUndoDelFile, &QAction::triggered, this, &frmMain::mUndoDel_Click);
    connect(mClear, &QAction::triggered, this, &frmMain::cmdClr_Click);
    connect(mClr, &QAction::triggered, this, &frmMain::cmdClr_Click);
    connect(mShowFSrc, &QAction::triggered, this, &frmMain::mFBrows_Click);
    connect(mShowF, &QAction::triggered, this, &frmMain::mFBrows2_Click);
    connect(mExit, &QAction::triggered, this, &QWidget::close);
}
