#include <QTest>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QAction>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "DamagedGifs.h"
#include "DamagedJpegs.h"
#include "FakeViewerHost.h"
#include "ToolRunner.h"
#include "platform/folders/ProgramFolders.h"
#include "platform/prompter/RecordingPrompter.h"
#include "state/ProgramState.h"
#include "viewer/CropFrame.h"
#include "viewer/PictureDisplay.h"
#include "viewer/WallpaperFile.h"
#include "viewer/frmBox.h"
#include "viewer/frmPic.h"

namespace {

// A picture file of its own size and colour, so what the viewer shows tells which it is.
QString picture(const QString& name, int w, int h, QColor colour = Qt::darkCyan)
{
    const QString path = ProgramFolders::workDir() + "/pics/" + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    EXPECT_TRUE(image.save(path)) << path.toStdString();
    return path;
}

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

void key(QWidget* w, int k)
{
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void wheel(QWidget* w, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWheelEvent e(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
}

QByteArray digest(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

class Viewer : public ::testing::Test {
protected:
    // Opens the viewer on entry `index` of the host's list.
    frmPic* open(int index = 0, bool setPicFile = true)
    {
        host.index = index;
        if (setPicFile)
            ps.sPicFile = host.listItem(index);
        viewer = new frmPic(ps, host, prompter);
        viewer->screenRect = [] { return QRect(0, 0, 1024, 768); };
        viewer->beep = [this] { ++beeps; };
        viewer->now = [] { return QDateTime(QDate(2026, 12, 9), QTime(7, 22, 21)); };
        viewer->execBox = [this](frmBox& box) {
            if (answer)
                box.cmdOK->click();
            else
                box.Command2->click();
        };
        if (!viewer->Form_Load())
            return nullptr;
        viewer->show();
        return viewer;
    }

    void TearDown() override
    {
        if (viewer)
            viewer->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QSize shownSize() const { return viewer->shownPicture().size(); }

    ProgramState ps;
    FakeViewerHost host;
    RecordingPrompter prompter;
    QPointer<frmPic> viewer;
    int beeps = 0;
    bool answer = true;
};

} // namespace

TEST_F(Viewer, FitsLargePicturesAndShowsSmallOnesAtTheirSize)
{
    host.list << picture("wide.png", 2000, 1000) << picture("small.png", 200, 134);
    ASSERT_TRUE(open(0));
    EXPECT_EQ(viewer->geometry(), QRect(0, 0, 1024, 768));
    EXPECT_EQ(viewer->imgMain->geometry(), QRect(0, 128, 1024, 512));
    EXPECT_TRUE(viewer->mImgSA->isChecked());
    EXPECT_FALSE(viewer->mImgSB->isChecked());
    EXPECT_FALSE(host.visible);

    key(viewer, Qt::Key_Right);
    EXPECT_EQ(viewer->imgMain->geometry(), QRect(412, 317, 200, 134));
    EXPECT_FALSE(viewer->mImgSA->isChecked());
    EXPECT_TRUE(viewer->mImgSB->isChecked());

    // 适合屏幕 and 原始大小 on the wide picture: fitting starts from its own size.
    key(viewer, Qt::Key_Left);
    viewer->mImgSB->trigger();
    EXPECT_EQ(viewer->imgMain->geometry(), QRect(0, 0, 2000, 1000));
    viewer->mImgSA->trigger();
    viewer->mImgSA->trigger();
    EXPECT_EQ(viewer->imgMain->geometry(), QRect(0, 128, 1024, 512));
    EXPECT_TRUE(viewer->mImgSA->isChecked());
    EXPECT_FALSE(viewer->mImgSB->isChecked());

    // A double click on the picture closes the viewer.
    mouse(viewer->imgMain, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    mouse(viewer->imgMain, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
    mouse(viewer->imgMain, QEvent::MouseButtonDblClick, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(viewer.isNull());
    EXPECT_TRUE(host.visible);
}

TEST_F(Viewer, KeysAndWheelStepThroughTheListWithBeepsAtTheEnds)
{
    host.list << picture("a.png", 100, 50) << picture("b.png", 110, 50) << picture("c.png", 120, 50);
    ASSERT_TRUE(open(0));
    struct Step {
        const char* what;
        std::function<void()> act;
        int index, width, beeps;
    };
    const Step steps[] = {
        {"Left on the first beeps", [&] { key(viewer, Qt::Key_Left); }, 0, 100, 1},
        {"Up on the first beeps", [&] { key(viewer, Qt::Key_Up); }, 0, 100, 2},
        {"wheel towards the user: next", [&] { wheel(viewer, -120); }, 1, 110, 2},
        {"Down: next", [&] { key(viewer, Qt::Key_Down); }, 2, 120, 2},
        {"Right on the last beeps", [&] { key(viewer, Qt::Key_Right); }, 2, 120, 3},
        {"wheel on the last beeps", [&] { wheel(viewer->imgMain, -120); }, 2, 120, 4},
        {"Ctrl+wheel does nothing", [&] { wheel(viewer, 120, Qt::ControlModifier); }, 2, 120, 4},
        {"two notches at once do nothing", [&] { wheel(viewer, 240); }, 2, 120, 4},
        {"wheel away from the user: previous", [&] { wheel(viewer, 120); }, 1, 110, 4},
        {"Left: previous", [&] { key(viewer, Qt::Key_Left); }, 0, 100, 4},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(host.index, s.index) << s.what;
        EXPECT_EQ(shownSize().width(), s.width) << s.what;
        EXPECT_EQ(beeps, s.beeps) << s.what;
    }

    ps.iPicMode = 2;  // in the slide show every step only beeps
    key(viewer, Qt::Key_Right);
    EXPECT_EQ(host.index, 0);
    EXPECT_EQ(beeps, 5);
    ps.iPicMode = 0;

    key(viewer, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(viewer.isNull());
    EXPECT_TRUE(host.visible);
    EXPECT_EQ(ps.iPicMode, 0);
}

TEST_F(Viewer, OpeningFailsCleanlyOnAnUnreadableFile)
{
    const QString broken = ProgramFolders::workDir() + "/broken.jpg";
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xff\xd8 not really");
    f.close();
    // The selected entry counts, not a current picture left from before.
    host.list << picture("fine.png", 40, 30) << broken;
    ps.sPicFile = host.list[0];
    EXPECT_EQ(open(1, false), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(viewer.isNull());
    EXPECT_TRUE(host.visible);
    ASSERT_EQ(host.tips.size(), 1);
    EXPECT_TRUE(host.tips[0].contains(broken));
}

TEST_F(Viewer, ThumbnailPagesOf56)
{
    const QString pic = picture("t.png", 40, 30);
    for (int i = 0; i < 60; ++i)
        host.list << pic;
    ps.iPicMode = 1;
    ASSERT_TRUE(open(0));
    const auto shown = [&] {
        int n = 0;
        for (QLabel* l : viewer->imgL)
            n += l->isVisible();
        return n;
    };
    EXPECT_TRUE(viewer->picBox->isVisible());
    EXPECT_FALSE(viewer->imgMain->isVisible());
    EXPECT_EQ(shown(), 56);
    EXPECT_EQ(viewer->imgL[0]->geometry(), QRect(2, 2, 125, 102));
    EXPECT_EQ(viewer->imgL[8]->geometry().top(), 106);
    EXPECT_FALSE(viewer->Command1->isEnabled());
    EXPECT_TRUE(viewer->Command2->isEnabled());

    viewer->Command2->click();
    EXPECT_EQ(shown(), 4);
    EXPECT_TRUE(viewer->imgL[3]->isVisible());
    EXPECT_FALSE(viewer->imgL[4]->isVisible());
    EXPECT_TRUE(viewer->Command1->isEnabled());
    EXPECT_FALSE(viewer->Command2->isEnabled());

    // A double click on thumbnail 2 of the second page shows entry 58; its
    // second click lands on the picture and does not close the viewer.
    mouse(viewer->imgL[2], QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    mouse(viewer->imgMain, QEvent::MouseButtonDblClick, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    ASSERT_FALSE(viewer.isNull());
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(host.index, 58);
    EXPECT_EQ(ps.iPicMode, 0);
    EXPECT_EQ(shown(), 0);
    EXPECT_FALSE(viewer->picBox->isVisible());
    EXPECT_TRUE(viewer->imgMain->isVisible());

    // Opening the grid again starts on the first page.
    viewer->mLB->trigger();
    EXPECT_EQ(shown(), 56);
    EXPECT_EQ(viewer->page(), 0);
    EXPECT_FALSE(viewer->Command1->isEnabled());
}

TEST_F(Viewer, RemovingAThumbnailLaysThePageOutAgain)
{
    host.list << picture("r0.png", 40, 30, Qt::red) << picture("r1.png", 40, 30, Qt::green)
              << picture("r2.png", 40, 30, Qt::blue);
    ps.iPicMode = 1;
    ASSERT_TRUE(open(0));
    QTimer::singleShot(0, [&] { viewer->mImgF->close(); });
    mouse(viewer->imgL[0], QEvent::MouseButtonPress, {5, 5}, Qt::RightButton, Qt::RightButton);
    viewer->mRemove->trigger();
    EXPECT_EQ(host.list.size(), 2);
    EXPECT_TRUE(viewer->imgL[1]->isVisible());
    EXPECT_FALSE(viewer->imgL[2]->isVisible());
    // The first thumbnail now shows the green picture that moved up.
    const QImage first = viewer->imgL[0]->pixmap().toImage();
    EXPECT_EQ(first.pixelColor(first.width() / 2, first.height() / 2), QColor(Qt::green));
}

TEST_F(Viewer, SlideShowStepsThroughTheListAtItsInterval)
{
    host.list << picture("s0.png", 100, 50) << picture("s1.png", 110, 50) << picture("s2.png", 120, 50);
    ps.iSlideTime = 2;
    ps.iPicMode = 2;
    ASSERT_TRUE(open(1));
    EXPECT_TRUE(viewer->Timer1->isActive());
    EXPECT_EQ(viewer->Timer1->interval(), 2000);
    EXPECT_TRUE(viewer->mSLD->isChecked());
    QList<int> widths;
    for (int i = 0; i < 4; ++i) {
        viewer->Timer1_Timer();
        widths << shownSize().width();
    }
    EXPECT_EQ(widths, (QList<int>{100, 110, 120, 100}));

    // The interval box: not a positive number changes nothing; 2.7 gives 2; nothing is stored.
    struct Answer {
        std::optional<QString> typed;
        int seconds;
    };
    const Answer answers[] = {{QString("5"), 5}, {QString("abc"), 5}, {std::nullopt, 5}, {QString("0"), 5},
                              {QString("2.7"), 2}, {QString("40"), 40}};
    for (const Answer& a : answers) {
        prompter.inputs.push_back(a.typed);
        viewer->mSLDP->trigger();
        EXPECT_EQ(ps.iSlideTime, a.seconds) << a.typed.value_or("Cancel").toStdString();
        EXPECT_EQ(viewer->Timer1->interval(), a.seconds * 1000);
    }
    EXPECT_TRUE(host.settings.isEmpty());
    const RecordingPrompter::Prompt& asked = prompter.prompts.at(0);
    EXPECT_EQ(asked.text, QStringLiteral("请输入幻灯片时间间隔(单位:秒)"));
    EXPECT_EQ(asked.title, QStringLiteral("设置"));
    EXPECT_EQ(asked.defaultText, "2");

    viewer->mSLD->trigger();  // stops the show
    EXPECT_FALSE(viewer->Timer1->isActive());
    EXPECT_FALSE(viewer->mSLD->isChecked());
    viewer->mSLD->trigger();
    EXPECT_TRUE(viewer->Timer1->isActive());
}

TEST_F(Viewer, BackgroundColourFromTheSettings)
{
    host.list << picture("bg.png", 40, 30);
    struct Case {
        const char* stored;
        QColor colour;
        int checked;
    };
    const Case cases[] = {{"3", Qt::red, 3}, {"9", Qt::black, 0}, {"-2", Qt::black, 0}};
    for (const Case& c : cases) {
        host.settings["iBGColor"] = c.stored;
        ASSERT_TRUE(open(0)) << c.stored;
        EXPECT_EQ(viewer->palette().color(QPalette::Window), c.colour) << c.stored;
        EXPECT_TRUE(viewer->mSetBGCLRS[size_t(c.checked)]->isChecked()) << c.stored;
        viewer->close();
    }
    ASSERT_TRUE(open(0));
    viewer->mSetBGCLRS[4]->trigger();
    EXPECT_EQ(host.settings["iBGColor"], "4");
    EXPECT_EQ(viewer->palette().color(QPalette::Window), QColor(Qt::blue));
    EXPECT_TRUE(viewer->mSetBGCLRS[4]->isChecked());
    EXPECT_FALSE(viewer->mSetBGCLRS[0]->isChecked());
}

TEST_F(Viewer, ProcessedPreviewWorkFileGoesWhenTheViewerCloses)
{
    host.list << picture("p.png", 300, 200);
    const QString temp = ProgramFolders::userDir() + "/tempBZ.bmp";
    QDir().mkpath(ProgramFolders::userDir());
    QImage processed(320, 240, QImage::Format_RGB32);
    processed.fill(Qt::yellow);
    ASSERT_TRUE(processed.save(temp));
    ps.iPicSource = 1;
    ASSERT_TRUE(open(0));
    EXPECT_EQ(shownSize(), QSize(320, 240));
    viewer->close();
    EXPECT_FALSE(QFile::exists(temp));
    EXPECT_TRUE(host.visible);
    EXPECT_EQ(ps.iPicMode, 0);
}

TEST_F(Viewer, CropOverTheProcessedPreviewCutsTheSource)
{
    // Source 600 x 300, red left half, blue right half; its rendering 300 x 150.
    QImage source(600, 300, QImage::Format_RGB32);
    source.fill(Qt::red);
    for (int y = 0; y < 300; ++y)
        for (int x = 300; x < 600; ++x)
            source.setPixelColor(x, y, Qt::blue);
    const QString path = ProgramFolders::workDir() + "/halves.png";
    ASSERT_TRUE(source.save(path));
    host.list << path;
    QDir().mkpath(ProgramFolders::userDir());
    QImage processed(300, 150, QImage::Format_RGB32);
    processed.fill(Qt::yellow);
    ASSERT_TRUE(processed.save(ProgramFolders::userDir() + "/tempBZ.bmp"));
    ps.iPicSource = 1;
    ps.bCutMode = true;
    ASSERT_TRUE(open(0));
    ASSERT_EQ(viewer->pictureRect(), QRectF(362, 309, 300, 150));

    drag(viewer->imgMain, {140, 20}, {160, 40});  // across the middle
    const QImage cut = viewer->cutPicture();
    ASSERT_EQ(cut.size(), QSize(40, 40));
    EXPECT_EQ(cut.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(cut.pixelColor(35, 5), QColor(Qt::blue));
}

TEST_F(Viewer, WallpaperFromACopyThatOutlivesTheViewer)
{
    host.list << picture("w.png", 64, 48, Qt::magenta) << picture("w.bmp", 64, 48);
    ASSERT_TRUE(open(0));
    viewer->mImgSetD1->trigger();
    ASSERT_EQ(host.wallpapers.size(), 1u);
    EXPECT_EQ(host.wallpapers[0].path, wallpaperCopyPath());
    EXPECT_EQ(host.wallpapers[0].style, 1);
    EXPECT_EQ(QImage(wallpaperCopyPath()).pixelColor(1, 1), QColor(Qt::magenta));

    key(viewer, Qt::Key_Right);  // a bitmap is used itself
    viewer->mImgSetD0->trigger();
    ASSERT_EQ(host.wallpapers.size(), 2u);
    EXPECT_EQ(host.wallpapers[1].path, host.list[1]);
    EXPECT_EQ(host.wallpapers[1].style, 0);

    // A copy that cannot be written sets nothing.
    key(viewer, Qt::Key_Left);
    QFile::remove(wallpaperCopyPath());
    ASSERT_TRUE(QDir().mkpath(wallpaperCopyPath()));
    viewer->mImgSetD2->trigger();
    EXPECT_EQ(host.wallpapers.size(), 2u);
    EXPECT_EQ(host.tips.size(), 1);
}

class ViewerCrop : public Viewer {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(haveTool("convert")) << "ImageMagick convert is needed";
        ASSERT_TRUE(haveTool("compare")) << "ImageMagick compare is needed";
        source = ProgramFolders::workDir() + "/pics/big.png";
        QDir().mkpath(ProgramFolders::workDir() + "/pics");
        const ToolResult made = runTool({"convert", "-size", "2048x1536", "-seed", "7", "plasma:fractal", "-depth", "8",
                                         source.toStdString()});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        host.list << picture("first.png", 50, 40) << source << picture("last.png", 60, 40);
        before = digest(source);
        ps.bCutMode = true;
    }

    // The region of the source that ImageMagick cuts, against the file the viewer wrote.
    void expectSameAs(const QString& written, const std::string& geometry)
    {
        const std::string expected = ProgramFolders::workDir().toStdString() + "/expected.png";
        ASSERT_EQ(runTool({"convert", source.toStdString(), "-crop", geometry, "+repage", expected}).exitCode, 0);
        const ToolResult size = runTool({"identify", "-format", "%wx%h", written.toStdString()});
        EXPECT_EQ(size.out, geometry.substr(0, geometry.find('+')));
        const ToolResult cmp = runTool({"compare", "-metric", "AE", written.toStdString(), expected, "null:"});
        EXPECT_EQ(cmp.exitCode, 0) << cmp.err;
        EXPECT_EQ(cmp.err, "0");
    }

    QString cropPath() const { return ProgramFolders::userDir() + "/user20261209072221.bmp"; }

    QString source;
    QByteArray before;
};

TEST_F(ViewerCrop, ConfirmedCropReplacesTheEntry)
{
    ASSERT_TRUE(open(1));
    EXPECT_EQ(viewer->imgMain->geometry(), QRect(0, 0, 1024, 768));
    EXPECT_EQ(viewer->imgMain->cursor().shape(), Qt::CrossCursor);
    drag(viewer->imgMain, {10, 10}, {110, 60});
    EXPECT_EQ(viewer->crop->rect(), QRectF(10, 10, 100, 50));
    EXPECT_TRUE(viewer->Picture1->isVisible());
    EXPECT_EQ(viewer->cutPicture().size(), QSize(200, 100));

    viewer->Image2[2]->click();
    ASSERT_TRUE(QFile::exists(cropPath()));
    expectSameAs(cropPath(), "200x100+20+20");
    EXPECT_EQ(host.list, (QStringList{host.list[0], host.list[1], cropPath()}));
    EXPECT_FALSE(host.list.contains(source));
    EXPECT_EQ(host.index, 2);
    EXPECT_EQ(host.previews, 1);
    EXPECT_EQ(digest(source), before);
    EXPECT_FALSE(ps.bCutMode);
    EXPECT_FALSE(viewer->Picture1->isVisible());
    EXPECT_EQ(shownSize(), QSize(200, 100));

    // A second crop in the same second gets its own name.
    viewer->mCut->trigger();
    drag(viewer->imgMain, {5, 5}, {25, 15});
    viewer->Image2[2]->click();
    EXPECT_TRUE(QFile::exists(ProgramFolders::userDir() + "/user20261209072221_1.bmp"));
    EXPECT_EQ(host.list.size(), 3);
}

TEST_F(ViewerCrop, RefusedCropWritesNothing)
{
    answer = false;
    ASSERT_TRUE(open(1));
    drag(viewer->imgMain, {10, 10}, {110, 60});
    viewer->Image2[2]->click();
    EXPECT_FALSE(QDir(ProgramFolders::userDir()).exists() &&
                 !QDir(ProgramFolders::userDir()).entryList({"user*.bmp"}).isEmpty());
    EXPECT_EQ(host.list.size(), 3);
    EXPECT_EQ(host.list[1], source);
    EXPECT_TRUE(ps.bCutMode);
    EXPECT_EQ(shownSize(), QSize(2048, 1536));
    EXPECT_FALSE(viewer->crop->isVisible());
    EXPECT_EQ(digest(source), before);
}

TEST_F(ViewerCrop, WhatIsSavedIsWhatIsFramed)
{
    ASSERT_TRUE(open(1));
    drag(viewer->imgMain, {10, 10}, {110, 60});
    // A press outside the selection and a drag change nothing.
    drag(viewer->imgMain, {500, 500}, {700, 600});
    EXPECT_EQ(viewer->crop->rect(), QRectF(10, 10, 100, 50));
    // Moving the selection cuts again.
    drag(viewer->imgMain, {50, 30}, {80, 40});
    EXPECT_EQ(viewer->crop->rect(), QRectF(40, 20, 100, 50));
    // So does reshaping it with a handle: the right edge 20 further.
    QWidget* right = viewer->crop->Image1[cropframe::Right];
    mouse(right, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton, Qt::LeftButton);
    mouse(right, QEvent::MouseMove, {21, 1}, Qt::NoButton, Qt::LeftButton);
    mouse(right, QEvent::MouseButtonRelease, {21, 1}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(viewer->crop->rect(), QRectF(40, 20, 120, 50));
    EXPECT_TRUE(viewer->Picture1->isVisible());

    // A double click inside the selection confirms.
    mouse(viewer->imgMain, QEvent::MouseButtonPress, {60, 40}, Qt::LeftButton, Qt::LeftButton);
    mouse(viewer->imgMain, QEvent::MouseButtonRelease, {60, 40}, Qt::LeftButton, Qt::NoButton);
    mouse(viewer->imgMain, QEvent::MouseButtonDblClick, {60, 40}, Qt::LeftButton, Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(cropPath()));
    expectSameAs(cropPath(), "240x100+80+40");
}

TEST_F(ViewerCrop, LeavingTheToolAndEmptyClicks)
{
    ASSERT_TRUE(open(1));
    // A click without a drag selects nothing.
    drag(viewer->imgMain, {30, 30}, {30, 30});
    EXPECT_FALSE(viewer->Picture1->isVisible());
    EXPECT_FALSE(viewer->crop->isVisible());

    drag(viewer->imgMain, {10, 10}, {110, 60});
    // Esc leaves the tool with its frame and toolbar; a second Esc closes.
    key(viewer, Qt::Key_Escape);
    EXPECT_FALSE(ps.bCutMode);
    EXPECT_FALSE(viewer->crop->isVisible());
    EXPECT_FALSE(viewer->Picture1->isVisible());
    EXPECT_TRUE(viewer->isVisible());
    key(viewer, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(viewer.isNull());
    EXPECT_TRUE(host.visible);
    EXPECT_EQ(host.list.size(), 3);
}

TEST_F(ViewerCrop, HintBlinksOnlyOnce)
{
    ASSERT_TRUE(open(1));
    QList<bool> seen;
    for (int i = 0; i < 6; ++i) {
        viewer->Timer2_Timer();
        seen << viewer->lblTip->isVisible();
    }
    EXPECT_EQ(seen, (QList<bool>{true, true, true, true, false, false}));
    EXPECT_FALSE(viewer->Timer2->isActive());
}

// A frame drawn on one picture goes with it: after a step by key or wheel the
// frame and the toolbar are gone, and confirming cuts nothing and removes
// nothing. The tool stays on for the picture stepped to.
TEST_F(ViewerCrop, AStepDropsTheSelection)
{
    const struct Case {
        const char* what;
        std::function<void(frmPic*)> step;
    } cases[] = {{"the Left key", [](frmPic* v) { QTest::keyClick(v, Qt::Key_Left); }},
                 {"the wheel", [](frmPic* v) { wheel(v->imgMain, 120); }}};
    for (const Case& c : cases) {
        ASSERT_TRUE(open(1)) << c.what;
        drag(viewer->imgMain, {10, 10}, {110, 60});
        ASSERT_TRUE(viewer->Picture1->isVisible()) << c.what;
        c.step(viewer);
        EXPECT_EQ(host.index, 0) << c.what;
        EXPECT_FALSE(viewer->Picture1->isVisible()) << c.what;
        EXPECT_FALSE(viewer->crop->isVisible()) << c.what;
        EXPECT_TRUE(ps.bCutMode) << c.what;
        // Neither the toolbar's confirm nor a double click where the frame was cuts anything.
        viewer->Image2[2]->click();
        mouse(viewer->imgMain, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
        mouse(viewer->imgMain, QEvent::MouseButtonRelease, {20, 20}, Qt::LeftButton, Qt::NoButton);
        EXPECT_FALSE(QFile::exists(cropPath())) << c.what;
        EXPECT_EQ(host.list.size(), 3) << c.what;
        EXPECT_EQ(host.list[0], ProgramFolders::workDir() + "/pics/first.png") << c.what;
        EXPECT_EQ(host.list[1], source) << c.what;
        viewer->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ps.bCutMode = true;
    }

    // A frame drawn after the step cuts the picture shown, which it replaces.
    ASSERT_TRUE(open(1));
    QTest::keyClick(viewer, Qt::Key_Left);
    drag(viewer->imgMain, {10, 10}, {30, 20});
    ASSERT_TRUE(viewer->Picture1->isVisible());
    viewer->Image2[2]->click();
    ASSERT_TRUE(QFile::exists(cropPath()));
    EXPECT_EQ(host.list, (QStringList{source, ProgramFolders::workDir() + "/pics/last.png", cropPath()}));
}

// Stepping onto a picture that cannot be read says so, as opening one does.
TEST_F(Viewer, SteppingOntoAnUnreadablePictureSaysSo)
{
    const QString broken = ProgramFolders::workDir() + "/broken.jpg";
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xff\xd8 not really");
    f.close();
    host.list << picture("fine.png", 40, 30) << broken;
    ASSERT_TRUE(open(0));
    QTest::keyClick(viewer, Qt::Key_Right);
    EXPECT_EQ(host.index, 1);
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_TRUE(prompter.prompts[0].text.contains(broken)) << prompter.prompts[0].text.toStdString();
    EXPECT_TRUE(prompter.prompts[0].text.contains(QStringLiteral("无法打开图片")));
    ASSERT_FALSE(host.tips.isEmpty());
    EXPECT_TRUE(host.tips.last().contains(broken));
    EXPECT_TRUE(viewer->isVisible());
}

// A picture that reads only in part is shown with its grey rest (or, without
// its last component, its colour cast), opened or stepped onto, and the status
// line says why; a whole one adds nothing.
TEST_F(Viewer, ADamagedPictureIsShownAndSaidInTheStatusLine)
{
    ASSERT_TRUE(toolsInstalled({"convert", "jpegtran"}));
    const std::string folder = (ProgramFolders::workDir() + "/damaged").toStdString();
    QDir().mkpath(ProgramFolders::workDir() + "/damaged");
    const QString cut = QString::fromStdString(damagedjpegs::cutInHalf(folder, "cut.jpg", "200x150"));
    const QString cutGif = QString::fromStdString(damagedgifs::cutInHalf(folder, "cut.gif", "120x90"));
    const QString noCr = QString::fromStdString(damagedjpegs::withoutLastComponent(folder, "no-cr.jpg", "200x150"));
    host.list << cut << picture("fine.png", 40, 30) << cutGif << noCr;
    const QString says = QStringLiteral("【提示】图片数据不完整或已损坏,缺少的部分为灰色:cut.jpg");
    const QString saysNoCr = QStringLiteral("【提示】图片数据不完整或已损坏,缺少的部分为灰色:no-cr.jpg");
    ASSERT_TRUE(open(0));
    EXPECT_EQ(shownSize(), QSize(200, 150));
    EXPECT_EQ(host.tips, QStringList({says}));
    QTest::keyClick(viewer, Qt::Key_Right);
    EXPECT_EQ(shownSize(), QSize(40, 30));
    EXPECT_EQ(host.tips.size(), 1);
    QTest::keyClick(viewer, Qt::Key_Left);
    EXPECT_EQ(host.tips, QStringList({says, says}));
    // A GIF whose data end early is said alike.
    QTest::keyClick(viewer, Qt::Key_Right);
    QTest::keyClick(viewer, Qt::Key_Right);
    EXPECT_EQ(shownSize(), QSize(120, 90));
    const QString saysGif = QStringLiteral("【提示】图片数据不完整或已损坏,缺少的部分为灰色:cut.gif");
    EXPECT_EQ(host.tips, QStringList({says, says, saysGif}));
    // And so is a JPEG without its last component, though libjpeg says nothing of it.
    QTest::keyClick(viewer, Qt::Key_Right);
    EXPECT_EQ(shownSize(), QSize(200, 150));
    EXPECT_EQ(host.tips, QStringList({says, says, saysGif, saysNoCr}));
    EXPECT_TRUE(prompter.prompts.empty());
}
