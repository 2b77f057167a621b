#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QMenu>
#include <QSettings>
#include <QTest>

#include "MenuFixture.h"
#include "settings/SettingsPanel.h"
#include "ToolRunner.h"
#include "processing/BatchRun.h"

namespace {

QString storedSetting(const char* key)
{
    QSettings disk(QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("Vimo/Vimo.ini")),
                   QSettings::IniFormat);
    return disk.value(QStringLiteral("Options/") + QString::fromLatin1(key)).toString();
}

class Menus : public MenuFixture {
protected:
    // Runs the list into "out" as PNG at the source's size; the written files.
    QStringList runToPng(frmMain& w)
    {
        w.panel->cmbSize->setCurrentIndex(2);
        w.panel->cmbEncode->setCurrentIndex(w.panel->cmbEncode->findText(QStringLiteral("png")));
        app->ps.sOutDir = home + "/out";
        app->ps.bAutoODir = 0;
        w.cmdDone_Click();
        QStringList files;
        for (const QString& name : QDir(home + "/out").entryList(QDir::Files, QDir::Name))
            files << home + "/out/" + name;
        return files;
    }

    static std::string identify(const QString& file, const char* format)
    {
        return runTool({"identify", "-format", format, file.toStdString()}).out;
    }
};

TEST_F(Menus, ViewerCommandsSetWhatTheViewerReadsAndOpenIt)
{
    const struct {
        QAction* MenuCommands::*item;
        int source, mode;
        bool cutMode;
    } cases[] = {
        {&MenuCommands::mLBBrows, 0, 1, false},
        {&MenuCommands::mLSBrows, 0, 2, false},
        {&MenuCommands::mFBrows, 0, 0, false},
        {&MenuCommands::mPCutImg, 0, 0, true},
    };
    frmMain& w = openWindow({picture(home + "/p/a.png")});
    for (const auto& c : cases) {
        // A processed-preview view came before: its temporary file is gone.
        app->ps.iPicSource = 1;
        app->ps.iPicMode = 0;
        app->ps.bCutMode = false;
        viewerOpened = 0;
        (menus().*c.item)->trigger();
        EXPECT_EQ(viewerOpened, 1) << (menus().*c.item)->objectName().toStdString();
        EXPECT_EQ(viewerSaw.source, c.source) << (menus().*c.item)->objectName().toStdString();
        EXPECT_EQ(viewerSaw.mode, c.mode) << (menus().*c.item)->objectName().toStdString();
        EXPECT_EQ(viewerSaw.cutMode, c.cutMode) << (menus().*c.item)->objectName().toStdString();
    }
    // Without a viewer in this build nothing opens, and the status line says so.
    menus().showViewer = nullptr;
    menus().mLSBrows->trigger();
    EXPECT_TRUE(app->status.text().contains(QStringLiteral("图片浏览窗口"))) << app->status.text().toStdString();
    EXPECT_EQ(app->ps.iPicMode, 2);
    // The thumbnail and the list's double click reach the same command.
    menus().showViewer = [this] { ++viewerOpened; };
    viewerOpened = 0;
    emit w.lstFile->itemDoubleClicked(w.lstFile->item(0));
    EXPECT_EQ(viewerOpened, 1);
}

TEST_F(Menus, SourceViewWithAnEmptyListOnlySaysSo)
{
    openWindow();
    menus().mShowFSrc->trigger();
    EXPECT_EQ(viewerOpened, 0);
    EXPECT_EQ(app->status.text(), QStringLiteral("【操作错误】当前没有图片可以浏览。"));
}

TEST_F(Menus, ProcessedViewWritesThePreviewForTheViewer)
{
    const QString temp = home + "/user/tempBZ.bmp";
    frmMain& w = openWindow();
    // Nothing shown yet: only the tip, no file.
    menus().mFBrows2->trigger();
    EXPECT_EQ(app->status.text(), QStringLiteral("【操作错误】没有可预览的图片。"));
    EXPECT_FALSE(QFile::exists(temp));

    w.addPictures({picture(home + "/p/a.png", 120, 90)}, true);
    w.panel->cmbSize->setCurrentIndex(0);  // width limit: the width box says 500, the height 0
    w.panel->txtW->setText(QStringLiteral("0"));
    menus().mShowF->trigger();
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("图片尺寸不能同时为0！"));
    EXPECT_EQ(prompter.prompts[0].icon, PromptIcon::Critical);
    EXPECT_EQ(w.panel->txtW->selectedText(), QStringLiteral("0"));
    EXPECT_EQ(viewerOpened, 0);

    // At the source's size both boxes read 0, and that is fine.
    w.panel->cmbSize->setCurrentIndex(2);
    menus().mFBrows2->trigger();
    EXPECT_EQ(viewerOpened, 1);
    EXPECT_EQ(viewerSaw.source, 1);
    ASSERT_TRUE(toolsInstalled({"identify"}));
    EXPECT_EQ(identify(temp, "%m %w %h %z"), "BMP3 120 90 8");
}

TEST_F(Menus, CaptureCommandsOpenTheirWindowsOrSaySoWhenMissing)
{
    frmMain& w = openWindow();
    w.show();
    menus().mCopySrc2->trigger();
    EXPECT_EQ(grabOpened, 1);
    EXPECT_FALSE(w.isVisible());  // the grab window brings it back
    w.show();
    menus().mCap->trigger();
    EXPECT_EQ(webcamOpened, 1);
    EXPECT_EQ(app->status.text(), QStringLiteral("【提示】请确保摄像头已经与您的电脑连接好。"));

    menus().showScreenGrab = nullptr;
    menus().showWebcam = nullptr;
    menus().mCopySrc2->trigger();
    EXPECT_TRUE(w.isVisible());  // nothing would show it again
    EXPECT_TRUE(app->status.text().contains(QStringLiteral("屏幕截图窗口")));
    menus().mCap->trigger();
    EXPECT_TRUE(app->status.text().contains(QStringLiteral("摄像头拍照窗口")));
}

TEST_F(Menus, ClipboardGetsThePathOrThePicture)
{
    const QString pic = picture(home + "/p/带 空格.png", 64, 48);
    openWindow({pic});
    menus().mCopyFileName->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), pic);
    EXPECT_EQ(app->status.text(), QStringLiteral("【提示】文件路径已复制:") + pic);
    menus().mCopyPic->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), window->renderedPicture().size());
    EXPECT_FALSE(QGuiApplication::clipboard()->image().isNull());
}

TEST_F(Menus, PrefixPresetsReplaceThePrefix)
{
    frmMain& w = openWindow();
    const char* const patterns[] = {"^\\d{8}_$", "^\\d{6}_$", "^\\d{14}_$", "^$"};
    for (int i = 0; i < 4; ++i) {
        w.panel->txtFileName->setText(QStringLiteral("old_"));
        menus().mFNOpt[size_t(i)]->trigger();
        EXPECT_TRUE(QRegularExpression(QString::fromLatin1(patterns[i])).match(w.panel->txtFileName->text()).hasMatch())
            << i << " " << w.panel->txtFileName->text().toStdString();
        EXPECT_EQ(app->ps.sPrefix, w.panel->txtFileName->text());
    }
}

TEST_F(Menus, HelpOpensTheReadMeAndThePagesAndShowsTheVersion)
{
    openWindow();
    for (QAction* a : {menus().mReadMe, menus().mHWeb, menus().mBBS, menus().mDownZY})
        a->trigger();
    ASSERT_EQ(shell.opened.size(), 4u);
    EXPECT_EQ(shell.opened[0], share + "/ReadMe.txt");
    EXPECT_TRUE(shell.started.empty());  // the editor comes from the desktop, not a command line
    menus().mAbout->trigger();
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_TRUE(prompter.prompts[0].text.startsWith(QStringLiteral("Vimo图片批处理") + VIMO_VERSION + "     \n\n发布日期:"));
    EXPECT_EQ(prompter.prompts[0].icon, PromptIcon::Information);
    EXPECT_TRUE(prompter.prompts[0].title.isEmpty());
}

TEST_F(Menus, ExitClosesLikeTheCloseBoxSoSettingsAreSaved)
{
    frmMain& w = openWindow();
    w.show();
    w.panel->cmbSize->setCurrentIndex(4);
    // While a folder scan runs the window refuses to close: nothing ends.
    app->win.bScanning = true;
    menus().mExit->trigger();
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(w.isVisible());
    app->win.bScanning = false;
    menus().mExit->trigger();
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(storedSetting("iuSize"), QStringLiteral("4"));
}

TEST_F(Menus, SkinsApplyAndAreSavedAtOnce)
{
    QDir().mkpath(share + "/skin");
    for (const char* name : {"Aero皮肤.she", "mine.she"}) {
        QFile f(share + "/skin/" + QString::fromUtf8(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("QLabel { color: #123456; } /* ") + name + " */");
    }
    openWindow();
    menus().mSkin[2]->trigger();
    EXPECT_EQ(app->ps.sSkinFileName, share + "/skin/Aero皮肤.she");
    EXPECT_EQ(storedSetting("sSkinFileName"), app->ps.sSkinFileName);
    EXPECT_TRUE(qApp->styleSheet().contains(QStringLiteral("Aero皮肤")));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(menus().mSkin[size_t(i)]->isChecked(), i == 2) << i;

    // "其他皮肤..." cancelled: the skin in use is applied and saved again.
    settings->writeText(QStringLiteral("sSkinFileName"), QStringLiteral("elsewhere"));
    settings->sync();
    menus().mSkin[4]->trigger();
    EXPECT_EQ(chooserModes, std::vector<int>{4});
    EXPECT_EQ(storedSetting("sSkinFileName"), share + "/skin/Aero皮肤.she");
    EXPECT_TRUE(menus().mSkin[4]->isChecked());

    chooserAnswer = [this](frmDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("请选择皮肤文件"));
        EXPECT_EQ(dlg.folder(), share + "/skin");
        dlg.selectFiles({QStringLiteral("mine.she")});
        dlg.cmdOK_Click();
        return dlg.result();
    };
    menus().mSkin[4]->trigger();
    EXPECT_EQ(storedSetting("sSkinFileName"), share + "/skin/mine.she");
    EXPECT_TRUE(qApp->styleSheet().contains(QStringLiteral("mine.she")));
    qApp->setStyleSheet(QString());
}

TEST_F(Menus, OneLivePreviewSwitchDrivesBothItems)
{
    frmMain& w = openWindow({picture(home + "/p/a.png")});
    menus().mShowOn->trigger();
    EXPECT_TRUE(app->win.bPreviewOff);
    EXPECT_FALSE(menus().mShowOn->isChecked());
    EXPECT_FALSE(menus().mShowOn2->isChecked());
    menus().mShowOn2->trigger();
    EXPECT_FALSE(app->win.bPreviewOff);
    EXPECT_TRUE(menus().mShowOn->isChecked() && menus().mShowOn2->isChecked());
    // A run needs rendering: it switches the preview on, and both items show it.
    menus().mShowOn2->trigger();
    ASSERT_TRUE(app->win.bPreviewOff);
    runToPng(w);
    EXPECT_FALSE(app->win.bPreviewOff);
    EXPECT_TRUE(menus().mShowOn->isChecked() && menus().mShowOn2->isChecked());
}

TEST_F(Menus, TypedStartPointIsUsedOnlyWhenItIsTwoNumbersOfZeroOrMore)
{
    frmMain& w = openWindow();
    w.panel->txtXp->setText(QStringLiteral("3"));
    w.panel->txtYp->setText(QStringLiteral("4"));
    const struct {
        std::optional<QString> answer;
        const char *x, *y;
    } cases[] = {
        {QStringLiteral("5"), "3", "4"},
        {QStringLiteral("-1,3"), "3", "4"},
        {QStringLiteral(""), "3", "4"},
        {std::nullopt, "3", "4"},
        {QStringLiteral("100,120"), "100", "120"},
    };
    for (const auto& c : cases) {
        prompter.inputs.push_back(c.answer);
        menus().mXYPos->setEnabled(true);
        menus().mXYPos->trigger();
        EXPECT_EQ(w.panel->txtXp->text(), QString::fromLatin1(c.x));
        EXPECT_EQ(w.panel->txtYp->text(), QString::fromLatin1(c.y));
        EXPECT_EQ(app->pic.sngXp, w.panel->txtXp->text().toFloat());
        EXPECT_EQ(app->pic.sngYp, w.panel->txtYp->text().toFloat());
    }
    ASSERT_FALSE(prompter.prompts.empty());
    EXPECT_EQ(prompter.prompts[0].title, QStringLiteral("起始点坐标"));
    EXPECT_EQ(prompter.prompts[0].defaultText, QStringLiteral("3,4"));
    EXPECT_TRUE(prompter.prompts[0].text.endsWith(QStringLiteral("请输入100,120")));
}

TEST_F(Menus, MoveModeMarksTheMiddleAndEnablesTheTypedPoint)
{
    frmMain& w = openWindow({picture(home + "/p/a.png", 300, 200)});
    w.show();
    w.panel->txtXp->setText(QStringLiteral("12"));
    menus().mSetXYPos->trigger();
    EXPECT_TRUE(app->win.bMovePic);
    EXPECT_TRUE(menus().mXYPos->isEnabled());
    EXPECT_TRUE(w.lblPos->isVisible());
    EXPECT_LE(std::abs(w.lblPos->x() - w.picImg->width() / 2.0), 1.0);
    EXPECT_LE(std::abs(w.lblPos->y() - w.picImg->height() / 2.0), 1.0);
    EXPECT_TRUE(app->status.text().startsWith(QStringLiteral("【提示】按住鼠标左键拖动蓝色方块")));
    // A right click on the preview ends the mode, and the typed point with it.
    const QPointF at(5, 5);
    QMouseEvent right(QEvent::MouseButtonPress, at, w.imgM->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w.imgM, &right);
    EXPECT_FALSE(app->win.bMovePic);
    EXPECT_FALSE(menus().mXYPos->isEnabled());
    menus().mSet0->trigger();
    EXPECT_EQ(w.panel->txtXp->text(), QStringLiteral("0"));
    EXPECT_EQ(app->pic.sngXp, 0.0f);
}

TEST_F(Menus, RotationTurnsTheOutputAndNeedsAShownPicture)
{
    frmMain& w = openWindow();
    menus().mPRT[3]->trigger();  // nothing shown: nothing changes, not even the mark
    EXPECT_EQ(app->rot.iRotateMode, 0);
    EXPECT_FALSE(menus().mPRT[3]->isChecked());

    w.addPictures({picture(home + "/p/a.png", 800, 600)}, true);
    w.panel->cmbSize->setCurrentIndex(2);
    menus().mPRT[3]->trigger();
    EXPECT_EQ(app->rot.iRotateMode, 3);
    for (int i : {0, 2, 3, 4, 5, 6, 7})
        EXPECT_EQ(menus().mPRT[size_t(i)]->isChecked(), i == 3) << i;
    EXPECT_EQ(w.renderedPicture().size(), QSize(600, 800));
    const QStringList out = runToPng(w);
    ASSERT_EQ(out.size(), 1);
    ASSERT_TRUE(toolsInstalled({"identify"}));
    EXPECT_EQ(identify(out[0], "%w %h"), "600 800");
}

TEST_F(Menus, EffectChoiceIsExclusiveAndGreyscaleReachesTheOutput)
{
    frmMain& w = openWindow({picture(home + "/p/a.png", 60, 40, QColor(200, 100, 50))});
    menus().mTX[9]->trigger();  // "灰度"
    EXPECT_FALSE(menus().mTXUndo->isChecked());
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(menus().mTX[size_t(i)]->isChecked(), i == 9) << i;
    const QStringList out = runToPng(w);
    ASSERT_EQ(out.size(), 1);
    ASSERT_TRUE(toolsInstalled({"identify"}));
    EXPECT_EQ(identify(out[0], "%[fx:maxima.r==maxima.g && maxima.g==maxima.b && minima.r==minima.b]"), "1");

    menus().mTXUndo->trigger();
    EXPECT_TRUE(menus().mTXUndo->isChecked());
    for (QAction* a : menus().mTX)
        EXPECT_FALSE(a->isChecked()) << a->objectName().toStdString();
    QDir(home + "/out").removeRecursively();
    const QStringList plain = runToPng(w);
    ASSERT_EQ(plain.size(), 1);
    EXPECT_EQ(identify(plain[0], "%[pixel:p{0,0}]"), "srgb(200,100,50)");
}

TEST_F(Menus, RedChannelOffDropsRedFromTheOutput)
{
    frmMain& w = openWindow({picture(home + "/p/a.png", 60, 40, QColor(200, 100, 50))});
    menus().mPCR[0]->trigger();
    EXPECT_FALSE(menus().mPCR[0]->isChecked());
    EXPECT_EQ(w.panel->txtRGB[0]->text(), QStringLiteral("0"));
    const QStringList out = runToPng(w);
    ASSERT_EQ(out.size(), 1);
    ASSERT_TRUE(toolsInstalled({"identify"}));
    EXPECT_EQ(identify(out[0], "%[pixel:p{0,0}]"), "srgb(0,100,50)");
    menus().mPCR[0]->trigger();
    EXPECT_TRUE(menus().mPCR[0]->isChecked());
    EXPECT_EQ(w.panel->txtRGB[0]->text(), QStringLiteral("1"));
}

TEST_F(Menus, ColourMatrixPanelShowsTheMatrixTransposedAndLeavesItAlone)
{
    frmMain& w = openWindow();
    app->pic.cmPic.m[1][0] = 0.25f;
    app->pic.cmPic.m[0][1] = 0.1f;
    const ColorMatrix before = app->pic.cmPic;
    menus().mPPro->trigger();
    EXPECT_EQ(w.panel->Text1[1]->text(), QStringLiteral("0.25"));
    EXPECT_EQ(w.panel->Text1[5]->text(), QStringLiteral("0.1"));
    EXPECT_TRUE(app->pic.cmPic == before);
    EXPECT_TRUE(app->win.cmBackup == before);
    EXPECT_TRUE(w.panel->frmeJZ->isVisibleTo(&w));
    menus().mPLD->trigger();
    EXPECT_TRUE(w.panel->frmTZ->isVisibleTo(&w));
}

TEST_F(Menus, SettingsAndInterfaceCommandsOpenTheirPlaces)
{
    frmMain& w = openWindow();
    w.show();
    menus().mSPDFSet->trigger();
    EXPECT_EQ(optionsTitle, QStringLiteral("PDF参数设置"));
    EXPECT_TRUE(optionsPdfPage && !optionsGeneralPage);
    menus().mTOption->trigger();
    EXPECT_EQ(optionsTitle, QStringLiteral("选项"));
    EXPECT_TRUE(optionsGeneralPage && !optionsPdfPage);
    EXPECT_EQ(app->status.text(), QStringLiteral("【提示】请根据需要设置相关参数。"));

    // The panel's buttons reach the same commands.
    w.panel->cmdPDFSet->setEnabled(true);
    w.panel->cmdPDFSet->click();
    EXPECT_EQ(optionsTitle, QStringLiteral("PDF参数设置"));
    w.panel->cmdOption->click();
    EXPECT_EQ(optionsTitle, QStringLiteral("选项"));
    EXPECT_EQ(optionsOpened, 4);

    menus().mTODir->trigger();
    EXPECT_EQ(chooserModes, std::vector<int>{0});
    EXPECT_EQ(app->status.text(), QStringLiteral("【提示】选择输出文件夹,处理好的图片将存放到该文件夹。"));

    for (auto [item, panel] : {std::pair{menus().mKTTool, w.Frame4}, std::pair{menus().mKRTool, w.Frame3}}) {
        panel->hide();
        item->trigger();
        EXPECT_TRUE(panel->isVisible()) << item->objectName().toStdString();
    }
    menus().mUI->trigger();
    EXPECT_TRUE(w.isMaximized());
    menus().mUI->trigger();
    EXPECT_FALSE(w.isMaximized());
}

TEST_F(Menus, TextWatermarkDialogTicksTheSwitchOnlyOnOkWithAText)
{
    frmMain& w = openWindow({picture(home + "/p/a.png", 200, 150)});
    menus().mSetTxtSY->trigger();  // cancelled
    EXPECT_EQ(textDialogOpened, 1);
    EXPECT_FALSE(w.panel->chkInfoTxt->isChecked());
    w.panel->execTextDialog = [this](frmTxtSet&) {
        ++textDialogOpened;
        app->ps.sText = QStringLiteral("水印");
        app->ps.iSize = 12;
        return int(QDialog::Accepted);
    };
    menus().mSetTxt->trigger();
    EXPECT_EQ(textDialogOpened, 2);
    EXPECT_TRUE(w.panel->chkInfoTxt->isChecked());
    EXPECT_EQ(w.panel->txtSize->text(), QStringLiteral("12"));
}

TEST_F(Menus, WatermarkPictureChooserTicksTheSwitchWhenAFileWasChosen)
{
    frmMain& w = openWindow({picture(home + "/p/a.png", 200, 150)});
    const QString mark = picture(share + "/sy/logo.png", 20, 20, Qt::red);
    menus().mSetPicSY->trigger();  // cancelled: nothing chosen, nothing ticked
    EXPECT_FALSE(w.panel->chkInfoImg->isChecked());
    chooserAnswer = [&](frmDlg& dlg) {
        EXPECT_EQ(dlg.folder(), share + "/sy");
        EXPECT_TRUE(dlg.frmSY->isVisibleTo(&dlg));
        EXPECT_EQ(dlg.Label1->text(), QStringLiteral("请选择要添加的水印图片。"));
        dlg.selectFiles({QStringLiteral("logo.png")});
        dlg.cmdOK_Click();
        return dlg.result();
    };
    menus().mSetImg->trigger();
    EXPECT_EQ(chooserModes, (std::vector<int>{2, 2}));
    EXPECT_EQ(app->ps.sSyFile, mark);
    EXPECT_TRUE(w.panel->chkInfoImg->isChecked());
}

} // namespace

namespace {

TEST_F(Menus, RestoreDrawsThePreviewOfTheEntryNowSelected)
{
    const QString a = picture(home + "/p/a.png", 40, 30), b = picture(home + "/p/b.png", 50, 30),
                  c = picture(home + "/p/c.png", 60, 30);
    frmMain& w = openWindow({a, b, c});
    w.panel->cmbSize->setCurrentIndex(2);  // source size: the widths tell the pictures apart
    w.setListIndex(1);
    w.cmdDel_Click();  // c moves up into row 1 and is shown
    ASSERT_EQ(w.listIndex(), 1);
    ASSERT_EQ(w.renderedPicture().width(), 60);
    menus().mUndoDelFile->trigger();  // b is back in row 1: the same row, another picture
    EXPECT_EQ(w.listIndex(), 1);
    EXPECT_EQ(app->ps.sPicFile, b);
    EXPECT_EQ(w.renderedPicture().width(), 50);
    EXPECT_FALSE(menus().mUndoDel->isEnabled() || menus().mUndoDelFile->isEnabled());

    // Nothing to restore: the selected entry is drawn again all the same.
    app->rot.iRotateMode = 3;
    menus().mUndoDelFile->setEnabled(true);
    menus().mUndoDelFile->trigger();
    EXPECT_EQ(w.renderedPicture().size(), QSize(30, 50));
    EXPECT_EQ(w.lFile->text(), QStringLiteral("图片数量:3个"));
}

} // namespace

// In the move mode the typed start point is reached from the menu bar: the
// mode entered with its key stays on while "调整" opens, and the item there
// asks for the point.
TEST_F(Menus, TheTypedStartPointIsReachedInTheMoveMode)
{
    frmMain& w = openWindow({picture(home + "/p/a.png", 300, 200)});
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_M, Qt::ControlModifier);
    ASSERT_TRUE(app->win.bMovePic);
    prompter.inputs.push_back(QStringLiteral("100,120"));
    QMenu* adjust = menus().mP;
    adjust->popup(w.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(adjust));
    QTest::keyClick(adjust, Qt::Key_Up);  // from no item, Up goes to the last one
    ASSERT_EQ(adjust->activeAction(), menus().mXYPos);
    QTest::keyClick(adjust, Qt::Key_Return);
    EXPECT_EQ(w.panel->txtXp->text(), QStringLiteral("100"));
    EXPECT_EQ(w.panel->txtYp->text(), QStringLiteral("120"));
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].title, QStringLiteral("起始点坐标"));
}
