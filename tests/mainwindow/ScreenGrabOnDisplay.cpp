// Run by ScreenGrabUnderXvfbTest on an X display whose desktop is #ff8040.
#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "settings/menus/MenuCommands.h"
#include "viewer/frmCopySrc.h"

namespace {

const QRgb kDesktop = qRgb(255, 128, 64);
const QRgb kDimmed = qRgb(192, 128, 64);

void mouse(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void drag(QWidget* w, QPointF from, QPointF to)
{
    mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(w, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    mouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// How many pixels of the picture differ from `colour`.
qint64 pixelsOtherThan(const QImage& picture, QRgb colour)
{
    const QImage p = picture.convertToFormat(QImage::Format_RGB32);
    qint64 n = 0;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            n += p.pixel(x, y) != colour;
    return n;
}

// What the X server shows now.
QImage screenNow(QWidget* painted)
{
    painted->repaint();
    QCoreApplication::processEvents();
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

class GrabOnDisplay : public MainWindowFixture {};

TEST_F(GrabOnDisplay, PhotographsTheDesktopWithoutTheMainWindowAndSavesTheRegion)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    frmMain& main = open();
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    ASSERT_EQ(screen.size(), QSize(1024, 768));
    // Were the main window still there, the grab would see it.
    ASSERT_NE(screenNow(&main).pixel(main.geometry().center()), kDesktop);

    main.menus->mCopySrc2->trigger();
    QPointer<frmCopySrc> grab = main.findChild<frmCopySrc*>();
    ASSERT_TRUE(grab);
    EXPECT_FALSE(main.isVisible());
    QSignalSpy ready(grab.data(), &frmCopySrc::ready);
    ASSERT_TRUE(ready.wait(10000)) << "the photograph never came";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grab.data()));
    EXPECT_EQ(grab->geometry(), screen);

    const QString user = ProgramFolders::userDir();
    const QImage bright(user + "/tmpsrc1.bmp"), dim(user + "/tmpsrc2.bmp");
    ASSERT_EQ(bright.size(), screen.size());
    ASSERT_EQ(dim.size(), screen.size());
    EXPECT_EQ(pixelsOtherThan(bright, kDesktop), 0);
    EXPECT_EQ(pixelsOtherThan(dim, kDimmed), 0);

    // A 320 x 240 drag: its label, its toolbar below, the bright area on the screen.
    drag(grab, {100, 100}, {420, 340});
    EXPECT_EQ(grab->lblPos->text(), "320x240");
    EXPECT_EQ(grab->Picture1->geometry().right() + 1, 420);
    EXPECT_EQ(grab->Picture1->y(), 340 + 4);
    const QImage shown = screenNow(grab);
    EXPECT_EQ(shown.pixel(260, 220), kDesktop);
    EXPECT_EQ(shown.pixel(50, 50), kDimmed);
    EXPECT_EQ(shown.pixel(600, 600), kDimmed);

    // Near the screen's bottom the toolbar goes inside the frame.
    grab->Image2_Click(0);
    drag(grab, {500, 500}, {820, 740});
    EXPECT_EQ(grab->Picture1->geometry().right() + 1, 820);
    EXPECT_EQ(grab->Picture1->geometry().bottom() + 1, 740 - 4);

    grab->Image2[2]->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(grab.isNull());
    ASSERT_EQ(main.app.list.count(), 1);
    const QString saved = main.app.list.at(0).path;
    EXPECT_TRUE(saved.startsWith(user + "/user")) << saved.toStdString();
    EXPECT_EQ(main.listIndex(), 0);
    EXPECT_TRUE(main.cmdDel->isEnabled());
    EXPECT_TRUE(main.cmdClr->isEnabled());
    const QImage region(saved);
    EXPECT_EQ(region.size(), QSize(320, 240));
    EXPECT_EQ(pixelsOtherThan(region, kDesktop), 0);
    EXPECT_FALSE(QFile::exists(user + "/tmpsrc1.bmp"));
    EXPECT_FALSE(QFile::exists(user + "/tmpsrc2.bmp"));
    EXPECT_TRUE(main.isVisible());
}

} // namespace
