// The main window driven as a user drives it: keys typed into the focused
// control, drags offered by a source, the chooser confirmed with its button.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <QUrl>
#include <QWheelEvent>

#include "MainWindowFixture.h"
#include "settings/frmDlg.h"
#include "settings/menus/MenuCommands.h"
#include "viewer/frmPic.h"

namespace {

class MainWindowInput : public MainWindowFixture {
protected:
    // The window as the user sees it: shown, active, pictures listed (two by default).
    frmMain& shown(QStringList paths = {})
    {
        if (paths.isEmpty())
            paths = {picture(home + "/p/a.jpg"), picture(home + "/p/b.jpg")};
        frmMain& w = open(paths);
        w.show();
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        w.setListIndex(0);
        return w;
    }

    // A key pressed on whatever has the keyboard focus.
    static void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key(key), mods);
    }
    static void type(const QString& text)
    {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClicks(focus, text);
    }

    // One notch of the wheel with the pointer over the middle of a control, handed
    // to the window as the desktop hands it: the window finds the widget under
    // the pointer and whatever that widget leaves unused travels up to its parents.
    static void wheelOver(frmMain& w, QWidget* control, int delta)
    {
        const QPointF local = QPointF(control->rect().center());
        const QPointF inWindow = control->mapTo(&w, local);
        ASSERT_EQ(w.childAt(inWindow.toPoint()), control);
        QWheelEvent e(inWindow, control->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        // sendEvent would mark it as the program's own, which Qt never propagates.
        QSpontaneKeyEvent::setSpontaneous(&e);
        qApp->notify(w.windowHandle(), &e);
    }

    // Nothing left the main window for the full-screen viewer.
    static void expectNoViewer(frmMain& w)
    {
        EXPECT_EQ(w.viewer(), nullptr);
        EXPECT_TRUE(w.isVisible());
    }
};

TEST_F(MainWindowInput, EnterInTheDescriptionStoresItAndGivesTheListTheFocus)
{
    frmMain& w = shown();
    w.menus->mSPicTxt_Click();
    ASSERT_EQ(QApplication::focusWidget(), w.txtPicTxt);
    press(Qt::Key_A, Qt::ControlModifier);
    type(QStringLiteral("harbour at dawn"));
    press(Qt::Key_Return);
    EXPECT_EQ(app->list.at(0).description, QStringLiteral("harbour at dawn"));
    EXPECT_EQ(QApplication::focusWidget(), w.lstFile);
    expectNoViewer(w);
    EXPECT_EQ(w.lstFile->currentRow(), 0);
}

TEST_F(MainWindowInput, ArrowsWhileTypingADescriptionKeepThePictureAndTheText)
{
    frmMain& w = shown();
    w.menus->mSPicTxt_Click();
    press(Qt::Key_A, Qt::ControlModifier);
    type(QStringLiteral("half typed"));
    for (int key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Down}) {
        press(key);
        EXPECT_EQ(w.lstFile->currentRow(), 0) << key;
        EXPECT_EQ(w.txtPicTxt->text(), QStringLiteral("half typed")) << key;
        EXPECT_EQ(QApplication::focusWidget(), w.txtPicTxt) << key;
    }
}

TEST_F(MainWindowInput, TheWheelOverTheDescriptionKeepsThePictureAndTheText)
{
    frmMain& w = shown({picture(home + "/p/a.jpg"), picture(home + "/p/b.jpg"), picture(home + "/p/c.jpg")});
    w.setListIndex(1);
    w.menus->mSPicTxt_Click();
    press(Qt::Key_A, Qt::ControlModifier);
    type(QStringLiteral("half typed"));
    for (int delta : {-120, 120, -120}) {
        wheelOver(w, w.txtPicTxt, delta);
        EXPECT_EQ(w.lstFile->currentRow(), 1) << delta;
        EXPECT_EQ(w.txtPicTxt->text(), QStringLiteral("half typed")) << delta;
    }
    // Beside the box the wheel still steps through the pictures.
    wheelOver(w, w.imgM, -120);
    EXPECT_EQ(w.lstFile->currentRow(), 2);
}

TEST_F(MainWindowInput, ReturnInAColourMatrixCellStaysInThePanel)
{
    frmMain& w = shown();
    w.menus->mPPro->trigger();
    ASSERT_TRUE(w.panel->frmeJZ->isVisible());
    w.panel->Text1[1]->setFocus();
    press(Qt::Key_A, Qt::ControlModifier);
    type(QStringLiteral("2"));
    press(Qt::Key_Return);
    press(Qt::Key_Down);
    expectNoViewer(w);
    EXPECT_EQ(w.lstFile->currentRow(), 0);
    EXPECT_FLOAT_EQ(app->pic.cmPic.m[1][0], 2.0f);
}

TEST_F(MainWindowInput, ThePreviewsOwnKeysStillStepAndOpen)
{
    frmMain& w = shown();
    w.picImg->setFocus();
    press(Qt::Key_Down);
    EXPECT_EQ(w.lstFile->currentRow(), 1);
    press(Qt::Key_Up);
    EXPECT_EQ(w.lstFile->currentRow(), 0);
    press(Qt::Key_Return);
    ASSERT_NE(w.viewer(), nullptr);
    w.viewer()->close();
}

// Every drop target answers "copy" from the first event, whatever the
// source proposes; a source that offers only "move" gets no drop.
TEST_F(MainWindowInput, DropsAreCopiesFromTheFirstEvent)
{
    frmMain& w = open();
    const QString dropped = picture(home + "/drag/c.png");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dropped)});
    struct Target {
        const char* name;
        QWidget* widget;
    } targets[] = {{"form", &w}, {"list", w.lstFile->viewport()}, {"image", w.imgM}, {"area", w.picImg}};
    for (const Target& t : targets) {
        // Shift makes a drag propose "move", as a file manager does for a move.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                              Qt::ShiftModifier);
        ASSERT_EQ(enter.proposedAction(), Qt::MoveAction);
        QApplication::sendEvent(t.widget, &enter);
        EXPECT_TRUE(enter.isAccepted()) << t.name;
        EXPECT_EQ(enter.dropAction(), Qt::CopyAction) << t.name;
        QDragMoveEvent move(QPoint(6, 6), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                            Qt::ShiftModifier);
        QApplication::sendEvent(t.widget, &move);
        EXPECT_TRUE(move.isAccepted()) << t.name;
        EXPECT_EQ(move.dropAction(), Qt::CopyAction) << t.name;
        QDropEvent drop(QPointF(6, 6), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(t.widget, &drop);
        EXPECT_TRUE(drop.isAccepted()) << t.name;
        EXPECT_EQ(drop.dropAction(), Qt::CopyAction) << t.name;
    }
    EXPECT_EQ(app->list.count(), 1);
    EXPECT_TRUE(QFileInfo(dropped).isFile());

    QDragEnterEvent moveOnly(QPoint(5, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.lstFile->viewport(), &moveOnly);
    EXPECT_FALSE(moveOnly.isAccepted());
}

// The opacity confirmed in the watermark chooser reaches the panel's box,
// the drawing and the next start, within 0..100.
TEST_F(MainWindowInput, TheChoosersOpacityReachesThePanel)
{
    picture(share + "/sy/mark.png", 20, 10);
    const struct Case {
        const char* typed;
        const char* shown;
        float drawn;
    } cases[] = {{"35", "35", 0.35f}, {"150", "100", 1.0f}, {"-50", "0", 0.0f}};
    for (const Case& c : cases) {
        frmMain& w = open({picture(home + "/p/a.jpg")});
        w.execChooser = [&](frmDlg& dlg) {
            dlg.selectFiles({QStringLiteral("mark.png")});
            dlg.txtSYAlpha->setText(QString::fromLatin1(c.typed));
            QTest::mouseClick(dlg.cmdOK, Qt::LeftButton);
            return dlg.result();
        };
        w.menus->mSetImg_Click();
        EXPECT_EQ(w.panel->txtAlpha->text(), QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_FLOAT_EQ(app->pic.cmSy.m[3][3], c.drawn) << c.typed;
        EXPECT_TRUE(w.panel->chkInfoImg->isChecked());
        close();
        frmMain& again = open();
        EXPECT_EQ(again.panel->txtAlpha->text(), QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_FLOAT_EQ(app->pic.cmSy.m[3][3], c.drawn) << c.typed;
        close();
    }
}

} // namespace

namespace {

// A good picture the pipeline cannot make at the asked size is not called
// unreadable: the status line gives the pipeline's reason.
TEST_F(MainWindowInput, ATargetSizeThePipelineRefusesIsNamedInThePreview)
{
    frmMain& w = open({picture(home + "/p/a.jpg", 80, 60)});
    const struct Case {
        int sizeIndex;  // 0 a width limit, 3 the first listed fixed size
        const char* width;
        const char* height;
        const char* reason;
    } cases[] = {{0, "", "0", "输出尺寸无效(宽 0, 高 0)"},
                 {0, "-40", "0", "输出尺寸无效(宽 -40, 高 -30)"},
                 {3, "99999", "99999", "图片太大: 99999 x 99999"}};
    for (const Case& c : cases) {
        w.panel->cmbSize->setCurrentIndex(c.sizeIndex);
        w.panel->txtW->setText(QString::fromLatin1(c.width));
        w.panel->txtH->setText(QString::fromLatin1(c.height));
        const QString line = app->status.text();
        EXPECT_TRUE(line.startsWith(QStringLiteral("【图片信息】文件名:a.jpg  无法处理:"))) << line.toStdString();
        EXPECT_TRUE(line.contains(QString::fromUtf8(c.reason))) << line.toStdString();
        EXPECT_FALSE(line.contains(QStringLiteral("不是可以读取的图片"))) << line.toStdString();
        EXPECT_FALSE(w.imgM->isVisibleTo(&w));
    }
    w.panel->cmbSize->setCurrentIndex(0);  // a width of 500 again: the picture shows
    EXPECT_TRUE(w.imgM->isVisibleTo(&w));
}

} // namespace

namespace {

// Every kind the list takes shows its untouched source beside the preview.
TEST_F(MainWindowInput, EveryListedKindShowsItsSourceThumbnail)
{
    const QStringList names = {"a.jpeg", "b.png", "c.tif", "d.tiff", "e.JPG", "f.bmp"};
    QStringList paths;
    for (const QString& name : names)
        paths << picture(home + "/k/" + name, 60, 40, Qt::darkRed);
    frmMain& w = open(paths);
    ASSERT_EQ(app->list.count(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        w.setListIndex(i);
        EXPECT_TRUE(w.imgSmall->isVisibleTo(&w)) << names[i].toStdString();
        EXPECT_FALSE(w.imgSmall->pixmap().isNull()) << names[i].toStdString();
        EXPECT_TRUE(app->status.text().contains(QStringLiteral("宽:60  高:40"))) << app->status.text().toStdString();
    }
}

} // namespace

namespace {

// A border needs a name before ".png": "zpng" and ".png" give no entry, at
// the start and when a folder of borders is added.
TEST_F(MainWindowInput, BordersNeedANameBeforeTheirEnding)
{
    for (const char* name : {"zpng", ".png"})
        picture(share + "/bk/" + name, 64, 48);
    picture(home + "/more/zpng", 64, 48);
    picture(home + "/more/Gold.PNG", 64, 48);
    frmMain& w = open();
    const auto entries = [&] {
        QStringList texts;
        for (int i = 0; i < w.panel->cmbBK->count(); ++i)
            texts << w.panel->cmbBK->itemText(i);
        return texts;
    };
    EXPECT_EQ(entries(), (QStringList{"无边框", "blue", "frame", "添加本地边框...", "网络下载边框..."}));
    w.execChooser = [&](frmDlg& dlg) {
        dlg.setFolder(home + "/more");
        QTest::mouseClick(dlg.cmdOK, Qt::LeftButton);
        return dlg.result();
    };
    w.panel->cmbBK->setCurrentIndex(w.panel->cmbBK->count() - 2);
    EXPECT_EQ(entries(), (QStringList{"无边框", "blue", "frame", "Gold", "添加本地边框...", "网络下载边框..."}));
    EXPECT_EQ(app->win.sBkFiles.size(), 4);
}

// Esc in the list brings back what was removed, but a file that was added
// again since stays listed once.
TEST_F(MainWindowInput, UndoInTheListNeverListsAFileTwice)
{
    const QString logo = picture(home + "/p/logo.png"), sea = picture(home + "/p/sea.jpg");
    frmMain& w = shown({logo, sea});
    w.lstFile->setFocus();
    w.lstFile->setCurrentRow(0);
    press(Qt::Key_Delete);  // logo.png goes
    ASSERT_EQ(app->list.count(), 1);
    w.addPictures({logo}, true);  // and comes back by another way
    w.lstFile->setFocus();
    press(Qt::Key_Escape);
    QStringList listed;
    for (int i = 0; i < w.lstFile->count(); ++i)
        listed << w.lstFile->item(i)->text();
    EXPECT_EQ(listed, (QStringList{sea, logo}));
    EXPECT_EQ(app->list.count(), 2);
    EXPECT_EQ(w.lFile->text(), QStringLiteral("图片数量:2个"));
}

} // namespace

namespace {

// What the desktop cannot open is said, with its path: the read-me and the
// web pages of the help menu, the output folder after a run, and a failure
// the opener reports only later.
TEST_F(MainWindowInput, WhatTheDesktopCannotOpenIsSaid)
{
    frmMain& w = open({picture(home + "/p/a.jpg")});
    shell.succeed = false;
    const auto lastMessage = [&] { return prompter.prompts.empty() ? QString() : prompter.prompts.back().text; };

    w.menus->mReadMe->trigger();
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("桌面无法打开:") + ProgramFolders::resourceDir() + "/ReadMe.txt"))
        << lastMessage().toStdString();
    w.menus->mHWeb->trigger();
    ASSERT_FALSE(shell.opened.empty());
    EXPECT_TRUE(lastMessage().contains(shell.opened.back())) << lastMessage().toStdString();

    app->ps.sOutDir = home + "/out";
    app->ps.bAutoODir = 1;
    w.cmdDone->click();
    ASSERT_TRUE(QFileInfo::exists(home + "/out"));
    EXPECT_TRUE(lastMessage().contains(home + "/out")) << lastMessage().toStdString();

    const size_t before = prompter.prompts.size();
    shell.failed(home + "/out/ErrorLog.txt");
    ASSERT_EQ(prompter.prompts.size(), before + 1);
    EXPECT_EQ(prompter.prompts.back().icon, PromptIcon::Exclamation);
    EXPECT_TRUE(lastMessage().contains(home + "/out/ErrorLog.txt"));
}

} // namespace
