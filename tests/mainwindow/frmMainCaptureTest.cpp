#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "settings/menus/MenuCommands.h"
#include "platform/camera/FakeCameraSource.h"
#include "platform/screengrab/FakeScreenGrabber.h"
#include "viewer/frmCap.h"
#include "viewer/frmCopySrc.h"

namespace {

class MainWindowCapture : public MainWindowFixture {};

TEST_F(MainWindowCapture, WebcamStillJoinsTheListUnselectedAndWakesTheListCommands)
{
    frmMain& w = open();
    w.show();
    ASSERT_TRUE(w.app.list.empty());
    w.Web->show();  // the news panel over the empty preview
    FakeCameraSource* camera = nullptr;
    w.makeCamera = [&] {
        auto c = std::make_unique<FakeCameraSource>();
        camera = c.get();
        return c;
    };
    QImage still(40, 30, QImage::Format_RGB32);
    still.fill(Qt::magenta);
    QString tipWhileOpen;
    bool stoppedOnSave = false;
    QTimer::singleShot(0, &w, [&] {
        auto* cap = qobject_cast<frmCap*>(QApplication::activeModalWidget());
        ASSERT_NE(cap, nullptr);
        tipWhileOpen = w.app.status.text();
        camera->deliver(still);
        cap->Command1->click();
        cap->cmdOK->click();
        stoppedOnSave = !camera->running && camera->stops == 1;
    });
    w.menus->mCap->trigger();  // returns when the window has closed
    EXPECT_EQ(tipWhileOpen, "【提示】请确保摄像头已经与您的电脑连接好。");
    ASSERT_EQ(w.app.list.count(), 1);
    EXPECT_TRUE(w.app.list.at(0).path.startsWith(ProgramFolders::userDir() + "/Cap"));
    EXPECT_EQ(QImage(w.app.list.at(0).path).convertToFormat(QImage::Format_RGB32), still);
    EXPECT_EQ(w.listIndex(), -1) << "the still is added, not selected";
    EXPECT_TRUE(w.Web->isHidden());
    for (QAction* a : {w.menus->mDelFile, w.menus->mClear})
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    for (QPushButton* b : {w.cmdDel, w.cmdClr})
        EXPECT_TRUE(b->isEnabled()) << b->text().toStdString();
    EXPECT_TRUE(stoppedOnSave);
}

TEST_F(MainWindowCapture, ScreenGrabHidesTheWindowOnceAndItsSaveIsSelected)
{
    frmMain& w = open({picture(home + "/pics/a.png")});
    w.show();
    auto grabber = std::make_shared<FakeScreenGrabber>();
    grabber->shot.picture = QImage(QGuiApplication::primaryScreen()->size(), QImage::Format_RGB32);
    grabber->shot.picture.fill(Qt::darkGreen);
    w.screenGrabber = grabber;

    w.menus->mCopySrc2->trigger();
    QPointer<frmCopySrc> grab = w.findChild<frmCopySrc*>();
    ASSERT_TRUE(grab);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.openScreenGrab(), grab.data()) << "one grab at a time";
    QSignalSpy ready(grab.data(), &frmCopySrc::ready);
    ASSERT_TRUE(ready.wait(10000));
    EXPECT_EQ(grabber->grabs, 1);

    grab->Form_MouseDown(Qt::LeftButton, {10, 10});
    grab->Form_MouseMove(Qt::LeftButton, {50, 40});
    grab->Form_MouseUp(Qt::LeftButton, {50, 40});
    grab->Image2[2]->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(grab.isNull());
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(w.app.list.count(), 2);
    EXPECT_EQ(w.listIndex(), 1);
    EXPECT_EQ(w.lstFile->currentRow(), 1);
    EXPECT_EQ(QImage(w.app.list.at(1).path).size(), QSize(40, 30));
}

} // namespace
