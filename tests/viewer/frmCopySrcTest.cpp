#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QToolButton>
#include <gtest/gtest.h>

#include "FakeViewerHost.h"
#include "ToolRunner.h"
#include "platform/folders/ProgramFolders.h"
#include "platform/prompter/RecordingPrompter.h"
#include "platform/screengrab/FakeScreenGrabber.h"
#include "viewer/CropFrame.h"
#include "viewer/frmCopySrc.h"

namespace {

// Every pixel tells where it came from.
QImage patterned(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 64 + (y / 256) * 16));
    return image;
}

void mouse(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void press(QWidget* w, QPointF pos, Qt::MouseButton b = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonPress, pos, b, b);
}

void release(QWidget* w, QPointF pos, Qt::MouseButton b = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonRelease, pos, b, Qt::NoButton);
}

void drag(QWidget* w, QPointF from, QPointF to)
{
    press(w, from);
    mouse(w, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    mouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    release(w, to);
}

void doubleClick(QWidget* w, QPointF pos)
{
    press(w, pos);
    release(w, pos);
    mouse(w, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton);
    release(w, pos);
}

// The offscreen screen's size: the photograph covers it exactly.
QSize screenSize()
{
    return QGuiApplication::primaryScreen()->size();
}

QString workFile(const char* name)
{
    return ProgramFolders::userDir() + "/" + name;
}

QStringList userFiles()
{
    return QDir(ProgramFolders::userDir()).entryList(QDir::Files, QDir::Name);
}

class ScreenGrabWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        grabber.shot.picture = patterned(screenSize());
        host.list << "/pics/a.png";
        host.index = 0;
        host.visible = false;  // hidden by the opener
    }

    // Opens the window the way the main window does and waits for the photograph.
    frmCopySrc* open()
    {
        window = new frmCopySrc(host, grabber, prompter);
        window->now = [] { return QDateTime(QDate(2026, 12, 9), QTime(7, 25, 30)); };
        QSignalSpy ready(window.data(), &frmCopySrc::ready);
        window->start();
        EXPECT_TRUE(ready.wait(10000)) << "the photograph never came";
        return window;
    }

    void TearDown() override { delete window.data(); }

    FakeViewerHost host;
    FakeScreenGrabber grabber;
    RecordingPrompter prompter;
    QPointer<frmCopySrc> window;
};

TEST_F(ScreenGrabWindow, OpensOnTheDimmedPhotographAndKeepsBothAsWorkFiles)
{
    frmCopySrc* w = open();
    EXPECT_EQ(grabber.grabs, 1);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->geometry(), QRect(QPoint(0, 0), screenSize()));
    EXPECT_EQ(w->mode(), "draw");
    EXPECT_FALSE(w->crop->Shape1->isVisible());
    EXPECT_FALSE(w->Picture1->isVisible());
    EXPECT_FALSE(w->lblPos->isVisible());
    EXPECT_FALSE(host.visible) << "the main window stays hidden while the grab is open";

    ASSERT_TRUE(toolsInstalled({"identify"}));
    const ToolResult id = runTool({"identify", "-format", "%m %w %h\n", workFile("tmpsrc1.bmp").toStdString(),
                                   workFile("tmpsrc2.bmp").toStdString()});
    const std::string line = "BMP3 " + std::to_string(screenSize().width()) + " " +
                             std::to_string(screenSize().height()) + "\n";
    EXPECT_EQ(id.out, line + line) << id.err;
    const QImage bright(workFile("tmpsrc1.bmp")), dim(workFile("tmpsrc2.bmp"));
    const QImage expected = patterned(screenSize());
    const QPoint last(screenSize().width() - 1, screenSize().height() - 1);
    for (QPoint p : {QPoint(0, 0), QPoint(255, 17), last, QPoint(300, 450)}) {
        EXPECT_EQ(bright.pixel(p), expected.pixel(p));
        EXPECT_EQ(dim.pixel(p), expected.pixel(p) & 0xffc0c0ffu);
    }
    // What the screen shows: dimmed everywhere until a selection lights a part.
    const QImage shown = w->grab().toImage();
    EXPECT_EQ(shown.pixel(300, 450), expected.pixel(300, 450) & 0xffc0c0ffu);
}

TEST_F(ScreenGrabWindow, EveryWayOfClosingDeletesTheWorkFilesAndShowsTheMainWindow)
{
    struct Case {
        const char* what;
        std::function<void(frmCopySrc*)> close;
    };
    const Case cases[] = {
        {"Esc",
         [](frmCopySrc* w) {
             QKeyEvent e(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QCoreApplication::sendEvent(w, &e);
         }},
        {"right button",
         [](frmCopySrc* w) {
             press(w, {50, 50}, Qt::RightButton);
             release(w, {50, 50}, Qt::RightButton);
         }},
        {"quit button",
         [](frmCopySrc* w) {
             drag(w, {10, 10}, {60, 60});
             w->Image2[3]->click();
         }},
    };
    for (const Case& c : cases) {
        host.visible = false;
        QPointer<frmCopySrc> w = open();
        ASSERT_TRUE(QFile::exists(workFile("tmpsrc1.bmp"))) << c.what;
        c.close(w);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(w.isNull()) << c.what;
        EXPECT_FALSE(QFile::exists(workFile("tmpsrc1.bmp"))) << c.what;
        EXPECT_FALSE(QFile::exists(workFile("tmpsrc2.bmp"))) << c.what;
        EXPECT_TRUE(host.visible) << c.what;
        EXPECT_EQ(host.list.size(), 1) << c.what;
    }
}

TEST_F(ScreenGrabWindow, DrawingShowsTheSizeAndTheBrightAreaInEitherDirection)
{
    struct Case {
        const char* what;
        QPointF from, to;
        QRectF frame;
        const char* caption;
    };
    const double r = screenSize().width(), b = screenSize().height();
    const Case cases[] = {
        {"down and right", {100, 100}, {420, 340}, {100, 100, 320, 240}, "320x240"},
        {"up and left: the pointer is the top-left", {420, 340}, {100, 100}, {100, 100, 320, 240}, "320x240"},
        {"past the screen's edge: held to it", {r - 100, b - 100}, {r + 100, b + 100}, {r - 100, b - 100, 100, 100},
         "100x100"},
    };
    frmCopySrc* w = open();
    const QImage expected = patterned(screenSize());
    for (const Case& c : cases) {
        w->Image2_Click(0);
        drag(w, c.from, c.to);
        EXPECT_EQ(w->selection(), c.frame) << c.what;
        EXPECT_EQ(w->lblPos->text(), c.caption) << c.what;
        EXPECT_EQ(w->lblPos->pos(), c.frame.topLeft().toPoint() + QPoint(2, 2)) << c.what;
        EXPECT_TRUE(w->lblPos->isVisible()) << c.what;
        EXPECT_TRUE(w->crop->Shape1->isVisible()) << c.what;
        EXPECT_TRUE(w->crop->Image1[6]->isVisible()) << c.what;
        EXPECT_EQ(w->mode(), "move") << c.what;
        EXPECT_EQ(w->litArea(), c.frame) << c.what;
        const QImage shown = w->grab().toImage();
        const QPoint in = c.frame.center().toPoint(), out = c.frame.topLeft().toPoint() - QPoint(5, 5);
        EXPECT_EQ(shown.pixel(in), expected.pixel(in)) << c.what << ": bright inside";
        EXPECT_EQ(shown.pixel(out), expected.pixel(out) & 0xffc0c0ffu) << c.what << ": dimmed outside";
    }
}

TEST_F(ScreenGrabWindow, ToolbarFollowsTheFrameAndOffersNothingForAnEmptySelection)
{
    frmCopySrc* w = open();
    drag(w, {100, 100}, {420, 340});
    ASSERT_TRUE(w->Picture1->isVisible());
    EXPECT_EQ(w->Picture1->geometry().right() + 1, 420);
    EXPECT_EQ(w->Picture1->y(), 344);
    EXPECT_TRUE(w->Image2[2]->isEnabled());

    // Near the screen's bottom it goes inside the frame.
    const int bottom = screenSize().height() - 10;
    w->Image2_Click(0);
    drag(w, {300, 400}, {600, double(bottom)});
    EXPECT_EQ(w->Picture1->geometry().right() + 1, 600);
    EXPECT_EQ(w->Picture1->geometry().bottom() + 1, bottom - 4);

    // A plain click leaves an empty selection: the toolbar stands at the
    // click, but there is nothing to copy or save.
    w->Image2_Click(0);
    press(w, {500, 200});
    release(w, {500, 200});
    EXPECT_EQ(w->mode(), "move");
    EXPECT_TRUE(w->Picture1->isVisible());
    EXPECT_EQ(w->Picture1->geometry().right() + 1, 500);
    EXPECT_EQ(w->Picture1->y(), 204);
    EXPECT_FALSE(w->Image2[1]->isEnabled());
    EXPECT_FALSE(w->Image2[2]->isEnabled());
    doubleClick(w, {500, 200});
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(host.list.size(), 1);
    EXPECT_TRUE(userFiles().filter("user2026").isEmpty());
}

TEST_F(ScreenGrabWindow, MovingStopsAtTheScreenEdgesAndAPressBesideDropsTheSelection)
{
    frmCopySrc* w = open();
    drag(w, {100, 100}, {300, 250});
    drag(w, {150, 150}, {50, 20});  // 100 left, 130 up: stops at the top
    EXPECT_EQ(w->selection(), QRectF(0, 0, 200, 150));
    drag(w, {10, 10}, {3000, 3000});
    const QRectF corner(screenSize().width() - 200, screenSize().height() - 150, 200, 150);
    EXPECT_EQ(w->selection(), corner);
    EXPECT_EQ(w->lblPos->pos(), corner.topLeft().toPoint() + QPoint(2, 2));
    EXPECT_EQ(w->litArea(), corner);

    press(w, {10, 10});
    EXPECT_EQ(w->mode(), "draw");
    EXPECT_FALSE(w->crop->Shape1->isVisible());
    EXPECT_FALSE(w->crop->Image1[0]->isVisible());
    EXPECT_FALSE(w->lblPos->isVisible());
    EXPECT_EQ(w->litArea(), corner) << "the old bright area stays until the next drawing";
}

TEST_F(ScreenGrabWindow, AHandleReshapesTheFrameAndItsLabel)
{
    frmCopySrc* w = open();
    drag(w, {100, 100}, {420, 340});
    QWidget* corner = w->crop->Image1[6];  // bottom-right
    const QPointF at = QPointF(corner->rect().center());
    mouse(corner, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(w->Picture1->isVisible());
    mouse(corner, QEvent::MouseMove, at + QPointF(-20, 10), Qt::NoButton, Qt::LeftButton);
    mouse(corner, QEvent::MouseButtonRelease, at + QPointF(-20, 10), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(w->selection(), QRectF(100, 100, 300, 250));
    EXPECT_EQ(w->lblPos->text(), "300x250");
    EXPECT_EQ(w->litArea(), QRectF(100, 100, 300, 250));
    EXPECT_TRUE(w->Picture1->isVisible());
    EXPECT_EQ(w->Picture1->geometry().right() + 1, 400);
    EXPECT_EQ(w->Picture1->y(), 354);
}

TEST_F(ScreenGrabWindow, SaveWritesExactlyTheRegionAddsItSelectedAndCloses)
{
    frmCopySrc* w = open();
    QPointer<frmCopySrc> guard = w;
    drag(w, {130, 70}, {450, 310});
    w->Image2[2]->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    const QString saved = ProgramFolders::userDir() + "/user20261209072530.bmp";
    ASSERT_EQ(host.list, QStringList({"/pics/a.png", saved}));
    EXPECT_EQ(host.index, 1);
    EXPECT_EQ(host.previews, 1);
    EXPECT_TRUE(host.visible);
    ASSERT_TRUE(toolsInstalled({"identify"}));
    EXPECT_EQ(runTool({"identify", "-format", "%m %w %h", saved.toStdString()}).out, "BMP3 320 240");
    const QImage region = patterned(screenSize()).copy(130, 70, 320, 240);
    EXPECT_EQ(QImage(saved).convertToFormat(QImage::Format_RGB32), region);
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), region);

    // A second grab in the same second keeps the first file.
    frmCopySrc* again = open();
    drag(again, {0, 0}, {10, 10});
    doubleClick(again, {5, 5});
    ASSERT_EQ(host.list.size(), 3);
    EXPECT_EQ(host.list[2], ProgramFolders::userDir() + "/user20261209072530_1.bmp");
    EXPECT_EQ(QImage(saved).size(), QSize(320, 240));
    EXPECT_EQ(QImage(host.list[2]).size(), QSize(10, 10));
}

TEST_F(ScreenGrabWindow, DoubleClickBesideTheSelectionDropsItWithoutSaving)
{
    frmCopySrc* w = open();
    drag(w, {100, 100}, {200, 200});
    doubleClick(w, {400, 400});
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(host.list.size(), 1);
    EXPECT_FALSE(w->crop->Shape1->isVisible());
}

TEST_F(ScreenGrabWindow, CopyPutsTheRegionOnTheClipboardAndAddsNothing)
{
    frmCopySrc* w = open();
    drag(w, {10, 20}, {40, 60});
    w->Image2[1]->click();
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              patterned(screenSize()).copy(10, 20, 30, 40));
    EXPECT_EQ(host.list.size(), 1);
    EXPECT_TRUE(host.visible);
}

TEST_F(ScreenGrabWindow, ASaveThatCannotBeWrittenAddsNothingAndSaysSo)
{
    frmCopySrc* w = open();
    // The user folder's place is taken by a file: nothing can be written there.
    QDir(ProgramFolders::userDir()).removeRecursively();
    QFile blocker(ProgramFolders::userDir());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    drag(w, {100, 100}, {200, 200});
    w->Image2[2]->click();
    EXPECT_EQ(host.list.size(), 1);
    EXPECT_EQ(host.previews, 0);
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_TRUE(prompter.prompts[0].text.startsWith("截图未能保存")) << prompter.prompts[0].text.toStdString();
    EXPECT_EQ(prompter.prompts[0].icon, PromptIcon::Critical);
    EXPECT_TRUE(w->isVisible()) << "the user can still copy or quit";
    EXPECT_TRUE(w->Picture1->isVisible());
}

TEST_F(ScreenGrabWindow, AScreenThatCannotBeReadIsReportedAndTheMainWindowComesBack)
{
    grabber.shot = ScreenShot{QImage(), "Wayland", 1};
    window = new frmCopySrc(host, grabber, prompter);
    QPointer<frmCopySrc> w = window;
    EXPECT_FALSE(w->Form_Load());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].text, "无法截取屏幕：Wayland");
    EXPECT_TRUE(host.visible);
    EXPECT_FALSE(QFile::exists(workFile("tmpsrc1.bmp")));
}

TEST_F(ScreenGrabWindow, HighDensityScreensCutInDevicePixels)
{
    grabber.shot.picture = patterned(screenSize() * 2);
    grabber.shot.pixelRatio = 2;
    frmCopySrc* w = open();
    drag(w, {100, 50}, {200, 100});
    EXPECT_EQ(w->lblPos->text(), "200x100");
    w->Image2[2]->click();
    ASSERT_EQ(host.list.size(), 2);
    EXPECT_EQ(QImage(host.list[1]).convertToFormat(QImage::Format_RGB32),
              patterned(screenSize() * 2).copy(200, 100, 200, 100));
}

TEST_F(ScreenGrabWindow, AListedPictureNamedLikeAWorkFileIsNeitherReplacedNorDeleted)
{
    QDir().mkpath(ProgramFolders::userDir());
    QImage mine(16, 16, QImage::Format_RGB32);
    mine.fill(Qt::yellow);
    ASSERT_TRUE(mine.save(workFile("tmpsrc1.bmp")));
    host.list << workFile("tmpsrc1.bmp");
    frmCopySrc* w = open();
    drag(w, {10, 10}, {50, 50});
    w->Image2[3]->click();
    ASSERT_TRUE(QFile::exists(workFile("tmpsrc1.bmp")));
    EXPECT_EQ(QImage(workFile("tmpsrc1.bmp")).convertToFormat(QImage::Format_RGB32), mine);
    EXPECT_TRUE(host.visible);
}

} // namespace
