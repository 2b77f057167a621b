#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include "MainWindowFixture.h"
#include "settings/menus/MenuCommands.h"
#include "platform/wallpaper/RecordingWallpaper.h"
#include "viewer/CropFrame.h"
#include "viewer/PictureDisplay.h"
#include "viewer/frmBox.h"
#include "viewer/frmPic.h"

namespace {

class MainWindowViewer : public MainWindowFixture {
protected:
    void key(QWidget* w, int k)
    {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
    void closeViewer()
    {
        window->viewer()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString temp() const { return ProgramFolders::userDir() + "/tempBZ.bmp"; }
};

} // namespace

TEST_F(MainWindowViewer, SourceCommandOpensTheSelectedPictureAndEscReturns)
{
    frmMain& w = open();
    w.show();
    w.menus->mFBrows_Click();  // nothing to show yet
    EXPECT_EQ(w.viewer(), nullptr);
    EXPECT_EQ(app->status.text(), QStringLiteral("【操作错误】当前没有图片可以浏览。"));

    const QString a = picture(home + "/p/a.png", 300, 200), b = picture(home + "/p/b.png", 320, 200);
    w.addPictures({a, b}, false);
    w.setListIndex(0);
    w.lstFile->itemDoubleClicked(w.lstFile->item(0));
    frmPic* v = w.viewer();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(app->ps.iPicSource, 0);
    EXPECT_EQ(v->shownPicture().size(), QSize(300, 200));
    EXPECT_FALSE(w.isVisible());

    key(v, Qt::Key_Down);  // the main window's list follows, and its preview with it
    EXPECT_EQ(w.lstFile->currentRow(), 1);
    EXPECT_EQ(app->ps.sPicFile, b);
    EXPECT_EQ(v->shownPicture().size(), QSize(320, 200));

    key(v, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.viewer(), nullptr);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(app->ps.iPicMode, 0);
}

TEST_F(MainWindowViewer, ProcessedPreviewOpensFromItsWorkFileWhichClosingDeletes)
{
    frmMain& w = open({picture(home + "/p/a.png", 800, 600)});
    w.show();
    w.setListIndex(0);
    w.menus->mFBrows2_Click();
    frmPic* v = w.viewer();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(app->ps.iPicSource, 1);
    EXPECT_TRUE(QFile::exists(temp()));
    // The width limit of 500 renders 500 x 375: that is what the viewer shows.
    EXPECT_EQ(v->shownPicture().size(), QSize(500, 375));
    closeViewer();
    EXPECT_FALSE(QFile::exists(temp()));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(app->ps.iPicMode, 0);

    // Both sizes "0" with the width-limit mode: the message, no viewer.
    w.panel->txtW->setText("0");
    w.panel->txtH->setText("0");
    w.menus->mFBrows2_Click();
    EXPECT_EQ(w.viewer(), nullptr);
    ASSERT_FALSE(prompter.prompts.empty());
    EXPECT_EQ(prompter.prompts.back().text, QStringLiteral("图片尺寸不能同时为0！"));
    EXPECT_EQ(prompter.prompts.back().icon, PromptIcon::Critical);
}

TEST_F(MainWindowViewer, ConfirmedCropTakesThePlaceOfItsPictureInTheList)
{
    const QString a = picture(home + "/p/a.png", 2000, 1000), b = picture(home + "/p/b.png", 50, 40);
    frmMain& w = open({a, b});
    w.setListIndex(0);
    app->ps.bCutMode = true;
    app->ps.iPicSource = 0;
    frmPic* v = w.openViewer();
    ASSERT_NE(v, nullptr);
    v->execBox = [](frmBox& box) { box.cmdOK->click(); };
    const QRectF shown = v->pictureRect();
    const auto mouse = [&](QEvent::Type type, QPointF pos, Qt::MouseButtons held) {
        QMouseEvent e(type, pos, v->imgMain->mapToGlobal(pos), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(v->imgMain, &e);
    };
    mouse(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
    mouse(QEvent::MouseMove, {60, 40}, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {60, 40}, Qt::NoButton);
    ASSERT_TRUE(v->Picture1->isVisibleTo(v)) << shown.width();
    v->Image2_Click(2);

    ASSERT_EQ(w.lstFile->count(), 2);
    EXPECT_EQ(w.lstFile->item(0)->text(), b);
    const QString crop = w.lstFile->item(1)->text();
    EXPECT_TRUE(crop.startsWith(ProgramFolders::userDir() + "/user")) << crop.toStdString();
    EXPECT_EQ(w.lstFile->currentRow(), 1);
    EXPECT_EQ(app->ps.sPicFile, crop);
    EXPECT_EQ(app->list.count(), 2);
    EXPECT_TRUE(QFile::exists(a));
    EXPECT_FALSE(app->ps.bCutMode);
    // The source can come back like any removed entry.
    EXPECT_TRUE(w.menus->mUndoDel->isEnabled());

    // Back in the main window, the list previews as before.
    v->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    w.setListIndex(0);
    EXPECT_EQ(app->ps.sPicFile, b);
    EXPECT_FALSE(w.imgM->isHidden());
}

TEST_F(MainWindowViewer, WallpaperGoesThroughTheDesktopStandIn)
{
    const QString a = picture(home + "/p/a.bmp", 64, 48);
    frmMain& w = open({a});
    auto wallpaper = std::make_shared<RecordingWallpaper>();
    w.wallpaper = wallpaper;
    w.setListIndex(0);
    frmPic* v = w.openViewer();
    ASSERT_NE(v, nullptr);
    v->mImgSetD2->trigger();
    ASSERT_EQ(wallpaper->requests.size(), 1u);
    EXPECT_EQ(wallpaper->requests[0].path, a);
    EXPECT_EQ(wallpaper->requests[0].style, WallpaperStyle::Centred);

    v->mSetBGCLRS[3]->trigger();
    EXPECT_EQ(settings->text("iBGColor"), "3");
}
