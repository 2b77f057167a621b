#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "FakeViewerHost.h"
#include "ToolRunner.h"
#include "platform/camera/FakeCameraSource.h"
#include "platform/folders/ProgramFolders.h"
#include "platform/prompter/RecordingPrompter.h"
#include "viewer/frmCap.h"

namespace {

QImage frame(QColor colour)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixel(3, 2, qRgb(1, 2, 3));  // tells an upside-down or shifted copy
    return image;
}

class WebcamWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.list << "/pics/a.png" << "/pics/b.png";
        host.index = 0;
    }

    std::unique_ptr<frmCap> open()
    {
        auto cap = std::make_unique<frmCap>(host, camera, prompter);
        cap->now = [] { return QDateTime(QDate(2026, 12, 9), QTime(15, 30, 45)); };
        cap->show();
        return cap;
    }

    FakeViewerHost host;
    FakeCameraSource camera;
    RecordingPrompter prompter;
};

TEST_F(WebcamWindow, TakeRetakeTakeSavesTheSecondFrameAtTheEndOfTheList)
{
    auto cap = open();
    EXPECT_EQ(camera.starts, 1);
    EXPECT_FALSE(cap->cmdOK->isEnabled()) << "no still yet";
    camera.deliver(frame(Qt::red));
    cap->Command1->click();
    EXPECT_TRUE(cap->Picture2->isHidden());
    EXPECT_TRUE(cap->cmdOK->isEnabled());
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), frame(Qt::red));
    camera.deliver(frame(Qt::green));
    EXPECT_EQ(cap->still(), frame(Qt::red)) << "a held still does not follow the live picture";

    cap->Command2->click();
    EXPECT_FALSE(cap->Picture2->isHidden());
    EXPECT_FALSE(cap->cmdOK->isEnabled());
    camera.deliver(frame(Qt::blue));
    cap->Command1->click();
    cap->cmdOK->click();

    const QString saved = ProgramFolders::userDir() + "/Cap09153045.bmp";
    EXPECT_EQ(cap->result(), QDialog::Accepted);
    ASSERT_EQ(host.list, QStringList({"/pics/a.png", "/pics/b.png", saved}));
    EXPECT_EQ(host.index, 0) << "the new entry is not selected";
    EXPECT_EQ(host.previews, 1);
    EXPECT_EQ(camera.stops, 1);
    EXPECT_FALSE(camera.running);
    ASSERT_TRUE(toolsInstalled({"identify"}));
    EXPECT_EQ(runTool({"identify", "-format", "%m %w %h", saved.toStdString()}).out, "BMP3 64 48");
    EXPECT_EQ(QImage(saved).convertToFormat(QImage::Format_RGB32), frame(Qt::blue));
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(WebcamWindow, TheSameNameAMonthLaterKeepsTheEarlierStill)
{
    QDir().mkpath(ProgramFolders::userDir());
    const QString earlier = ProgramFolders::userDir() + "/Cap09153045.bmp";
    ASSERT_TRUE(frame(Qt::yellow).save(earlier));
    auto cap = open();
    camera.deliver(frame(Qt::blue));
    cap->Command1_Click();
    // Enter chooses the default button.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(cap.get(), &enter);
    EXPECT_EQ(cap->savedPath(), ProgramFolders::userDir() + "/Cap09153045_1.bmp");
    EXPECT_EQ(host.list.size(), 3);
    EXPECT_EQ(QImage(earlier).convertToFormat(QImage::Format_RGB32), frame(Qt::yellow));
}

TEST_F(WebcamWindow, NothingIsSavedWithoutAStill)
{
    auto cap = open();
    cap->Command1_Click();  // no picture has come from the camera yet
    EXPECT_FALSE(cap->cmdOK->isEnabled());
    cap->cmdOK_Click();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(cap.get(), &enter);
    EXPECT_TRUE(cap->isVisible());
    EXPECT_EQ(host.list.size(), 2);
    EXPECT_TRUE(QDir(ProgramFolders::userDir()).entryList({"Cap*"}, QDir::Files).isEmpty());
}

TEST_F(WebcamWindow, CancelAddsNothingAndStopsTheCamera)
{
    auto cap = open();
    camera.deliver(frame(Qt::red));
    cap->Command1_Click();
    cap->cmdNO->click();
    EXPECT_EQ(cap->result(), QDialog::Rejected);
    EXPECT_FALSE(camera.running);
    EXPECT_EQ(host.list.size(), 2);
    EXPECT_EQ(host.previews, 0);
}

TEST_F(WebcamWindow, WithoutACameraItSaysSoAndStaysOpenToBeCancelled)
{
    struct Case {
        const char* what;
        std::function<void(FakeCameraSource&)> fail;
    };
    const Case cases[] = {
        {"no device at the start", [](FakeCameraSource& c) { c.startError = "没有找到摄像头。"; }},
        {"the device fails later", [](FakeCameraSource&) {}},
    };
    for (const Case& c : cases) {
        prompter.prompts.clear();
        camera = FakeCameraSource();
        c.fail(camera);
        auto cap = open();
        if (camera.running && camera.onError)
            camera.onError("device unplugged");
        ASSERT_EQ(prompter.prompts.size(), 1u) << c.what;
        EXPECT_EQ(prompter.prompts[0].text, "没有摄像头或发生错误！请检查。") << c.what;
        EXPECT_EQ(prompter.prompts[0].icon, PromptIcon::Critical) << c.what;
        EXPECT_TRUE(cap->isVisible()) << c.what;
        EXPECT_FALSE(cap->cmdOK->isEnabled()) << c.what;
        cap->cmdNO->click();
        EXPECT_EQ(host.list.size(), 2) << c.what;
    }
}

TEST_F(WebcamWindow, AStillThatCannotBeWrittenAddsNothingAndSaysSo)
{
    QDir(ProgramFolders::userDir()).removeRecursively();
    QFile blocker(ProgramFolders::userDir());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto cap = open();
    camera.deliver(frame(Qt::red));
    cap->Command1_Click();
    cap->cmdOK_Click();
    EXPECT_EQ(host.list.size(), 2);
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_TRUE(prompter.prompts[0].text.startsWith("照片未能保存")) << prompter.prompts[0].text.toStdString();
    EXPECT_TRUE(cap->isVisible());
}

TEST_F(WebcamWindow, APressOnTheStillShowsItsPositionInTwips)
{
    auto cap = open();
    camera.deliver(frame(Qt::red));
    cap->Command1_Click();
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(81, 64), cap->Picture1->mapToGlobal(QPointF(81, 64)),
                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(cap->Picture1, &e);
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].text, "1215-960");
}

TEST_F(WebcamWindow, ScreenReadersHearEveryControl)
{
    auto cap = open();
    for (QWidget* child : cap->findChildren<QWidget*>()) {
        const QString name = child->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(child);
        ASSERT_NE(a, nullptr) << name.toStdString();
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << name.toStdString();
        // Buttons speak their own text, which a fixed name would hide.
        if (qobject_cast<QPushButton*>(child)) {
            EXPECT_TRUE(child->accessibleName().isEmpty()) << name.toStdString();
        }
    }
}

} // namespace
