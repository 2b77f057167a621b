// What the window keeps of the picture it shows: the file is decoded once for
// as long as nothing the picture depends on changes, and a picture read in
// part stays marked in the caption whatever the status line says.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "DamagedJpegs.h"
#include "MainWindowFixture.h"
#include "ToolRunner.h"
#include "mainwindow/ProgramTitle.h"
#include "mainwindow/preview/PreviewTexts.h"
#include "platform/camera/FakeCameraSource.h"
#include "platform/imaging/PictureReader.h"
#include "platform/screengrab/FakeScreenGrabber.h"
#include "processing/RenderPicture.h"
#include "settings/menus/MenuCommands.h"

namespace {

// Every decode of a picture file, by path, while a counter lives.
class DecodeCounter {
public:
    DecodeCounter()
    {
        paths().clear();
        imaging::setDecodeWatch(&note);
    }
    ~DecodeCounter() { imaging::setDecodeWatch(nullptr); }
    int of(const QString& path) const
    {
        const std::lock_guard lock(mutex());
        return int(paths().count(path));
    }
    // The picture as a batch run renders it now, decoded afresh; not counted.
    QImage runRender(const QString& path, const AppState& st) const
    {
        imaging::setDecodeWatch(nullptr);
        const RenderSettings s = snapshotSettings(st);
        QImage picture = renderPicture(path, s, prepareAssets(s)).picture;
        imaging::setDecodeWatch(&note);
        return picture;
    }

private:
    static QStringList& paths()
    {
        static QStringList p;
        return p;
    }
    static std::mutex& mutex()
    {
        static std::mutex m;
        return m;
    }
    static void note(const QString& path)
    {
        const std::lock_guard lock(mutex());
        paths() << path;
    }
};

// Gives up whatever a command opens: a modal dialog is rejected (as Escape
// does), another window of the program is closed.
class GiveUpEverything {
public:
    explicit GiveUpEverything(QWidget* main)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [main] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
                else
                    modal->close();
                return;
            }
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w != main && w->isVisible())
                    w->close();
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

void settle()
{
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

class ShownPicture : public MainWindowFixture {};

// Showing a picture reads it once: the load, its resize and every redraw that
// changes nothing draw from what was decoded; a new setting draws from the
// kept source; a new entry, or the file changed on disk, is read again. What
// the preview shows is what a run renders afresh.
TEST_F(ShownPicture, EachEntryIsDecodedOnceUntilItsFileChanges)
{
    const QString a = picture(home + "/p/a.png", 900, 600, Qt::darkRed);
    const QString b = picture(home + "/p/b.jpg", 640, 480, Qt::darkGreen);
    const QString c = picture(home + "/p/c.bmp", 1200, 900, Qt::darkBlue);
    const DecodeCounter decodes;
    frmMain& w = open({a, b, c});
    w.show();
    w.resize(w.width() + 60, w.height() + 40);
    settle();
    ASSERT_EQ(w.listIndex(), 2);
    EXPECT_EQ(decodes.of(c), 1) << "the load, the showing and the resizes of the window";
    EXPECT_EQ(decodes.of(b), 1) << "the thumbnail of the entry before";
    for (int i = 0; i < 3; ++i)
        w.lstFile_Click();
    EXPECT_EQ(decodes.of(c), 1);
    EXPECT_EQ(decodes.of(b), 1);
    EXPECT_EQ(w.renderedPicture(), decodes.runRender(c, *app));

    // Settings that change the result draw again from the kept source.
    w.panel->cmbBK->setCurrentIndex(w.panel->cmbBK->findText(QStringLiteral("blue")));
    w.panel->txtW->setText(QStringLiteral("320"));
    EXPECT_EQ(w.renderedPicture().width(), 320);
    EXPECT_EQ(w.renderedPicture(), decodes.runRender(c, *app));
    EXPECT_EQ(decodes.of(c), 1);

    // A border file changed on disk is read again, the source is not.
    picture(share + "/bk/blue.png", 64, 48, Qt::yellow);
    w.lstFile_Click();
    EXPECT_EQ(w.renderedPicture(), decodes.runRender(c, *app));
    EXPECT_EQ(decodes.of(c), 1);

    w.setListIndex(1);
    EXPECT_EQ(decodes.of(b), 2) << "shown: decoded once more than as a thumbnail";
    w.lstFile_Click();
    EXPECT_EQ(decodes.of(b), 2);
    // The same file written anew: read again, and the preview shows the new pixels.
    w.panel->cmbBK->setCurrentIndex(0);
    EXPECT_EQ(decodes.of(b), 2);
    picture(b, 640, 480, Qt::white);
    w.lstFile_Click();
    EXPECT_EQ(decodes.of(b), 3);
    EXPECT_EQ(w.renderedPicture(), decodes.runRender(b, *app));
    EXPECT_EQ(w.renderedPicture().pixelColor(w.renderedPicture().width() / 2, w.renderedPicture().height() / 2),
              QColor(Qt::white));

    // Only the shown picture's source is kept: going back reads c again.
    const int before = decodes.of(c);
    w.setListIndex(2);
    EXPECT_EQ(decodes.of(c), before + 1);
    EXPECT_EQ(w.renderedPicture(), decodes.runRender(c, *app));
}

// A picture read in part is marked in the caption, beside its path, for as
// long as it is shown: every menu command and every dialog given up leaves
// the mark, whatever it writes in the status line. A sound picture has none.
TEST_F(ShownPicture, ADamagedPictureStaysMarkedWhateverTheStatusLineSays)
{
    ASSERT_TRUE(toolsInstalled({"convert", "jpegtran"}));
    const std::string cut = damagedjpegs::cutInHalf(home.toStdString(), "cut.jpg", "200x150");
    ASSERT_FALSE(cut.empty());
    const QString damaged = QString::fromStdString(cut);
    const QString good = picture(home + "/p/good.jpg", 200, 150);
    frmMain& w = open({good, damaged});
    w.screenGrabber = std::make_shared<FakeScreenGrabber>();
    w.makeCamera = [] { return std::make_unique<FakeCameraSource>(); };
    w.show();
    settle();
    const QString marked = previewtext::windowCaption(damaged, true);
    ASSERT_TRUE(marked.endsWith(previewtext::kDamagedMark));
    EXPECT_EQ(w.windowTitle().toStdString(), marked.toStdString());

    const GiveUpEverything giveUp(&w);
    // Commands that take the picture out of the list, or end the program, are not given up.
    const QStringList removing = {"mDelFile", "mClear", "mDel", "mClr", "mExit", "mUndoDel", "mUndoDelFile"};
    int tried = 0;
    QList<QAction*> actions;
    for (const QMenu* menu : w.findChildren<QMenu*>())
        for (QAction* action : menu->actions())
            if (!action->isSeparator() && !action->menu() && !action->objectName().isEmpty() &&
                !removing.contains(action->objectName()) && !actions.contains(action))
                actions << action;
    for (QAction* action : actions) {
        SCOPED_TRACE(action->objectName().toStdString() + " " + action->text().toStdString());
        w.setListIndex(1);
        ASSERT_EQ(app->list.count(), 2);
        action->setEnabled(true);
        action->trigger();
        settle();
        ++tried;
        if (w.listIndex() != 1 || app->list.count() != 2)
            continue;  // the command showed another entry
        EXPECT_EQ(w.windowTitle().toStdString(), marked.toStdString());
    }
    EXPECT_GT(tried, 40);

    // The settings panel's buttons and switches, and its choices that open a
    // dialog ("自定义尺寸...", "添加本地边框..."), given up in turn.
    app->win.bPreviewOff = false;
    const QList<QAbstractButton*> buttons = {w.panel->cmdTSet,   w.panel->cmdSetP,    w.panel->cmdSetPos,
                                             w.panel->cmdPDFSet, w.panel->cmdODir,    w.panel->cmdOption,
                                             w.panel->cmdImgCut, w.panel->cmdLD,      w.panel->cmdMR,
                                             w.panel->cmdTX,     w.panel->chkInfoTxt, w.panel->chkInfoImg,
                                             w.panel->chkFtp,    w.panel->chkPDF,     w.panel->chkRM};
    const auto chooseLast = [&](QComboBox* box, int fromEnd) {
        return [box, fromEnd] { box->setCurrentIndex(box->count() - fromEnd); };
    };
    std::vector<std::pair<std::string, std::function<void()>>> givenUp;
    for (QAbstractButton* b : buttons)
        givenUp.emplace_back(b->objectName().toStdString(), [b] { b->click(); });
    givenUp.emplace_back("cmbSize 自定义尺寸...", chooseLast(w.panel->cmbSize, 1));
    givenUp.emplace_back("cmbBK 添加本地边框...", chooseLast(w.panel->cmbBK, 2));
    for (const auto& [what, giveUpIt] : givenUp) {
        SCOPED_TRACE(what);
        w.setListIndex(1);
        giveUpIt();
        settle();
        ASSERT_EQ(w.listIndex(), 1);
        EXPECT_EQ(w.windowTitle().toStdString(), marked.toStdString());
    }

    // The description box given up with Escape.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(w.txtPicTxt, &escape);
    EXPECT_EQ(w.windowTitle().toStdString(), marked.toStdString());

    w.setListIndex(0);
    EXPECT_EQ(w.windowTitle().toStdString(), previewtext::windowCaption(good).toStdString());
    EXPECT_FALSE(w.windowTitle().contains(previewtext::kDamagedMark));

    // A cleared list shows no picture: no caption names one or its damage.
    w.setListIndex(1);
    ASSERT_EQ(w.windowTitle().toStdString(), marked.toStdString());
    w.cmdClr_Click();
    EXPECT_EQ(w.windowTitle().toStdString(), programTitle().toStdString());
}

} // namespace
