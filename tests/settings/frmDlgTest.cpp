#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QStorageInfo>
#include <QTimer>
#include <QFileSystemModel>
#include <QTreeView>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/folders/ProgramFolders.h"
#include "settings/frmDlg.h"
#include "state/AppState.h"
#include "store/SettingsStore.h"

namespace {

class Chooser : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = ProgramFolders::workDir() + "/pics";
        QDir().mkpath(dir);
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::green);
        for (const char* name : {"A.JPG", "b.png", "c.bmp"})
            ASSERT_TRUE(image.save(dir + "/" + name));
        QFile(dir + "/d.txt").open(QIODevice::WriteOnly);
        QFile(dir + "/skin.SHE").open(QIODevice::WriteOnly);
    }

    QStringList files(const frmDlg& dlg) const
    {
        QStringList names;
        for (int i = 0; i < dlg.File1->count(); ++i)
            names << dlg.File1->item(i)->text();
        return names;
    }

    static void escape(frmDlg& dlg)
    {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&dlg, &esc);
    }

    AppState app;
    SettingsStore settings;
    QString dir;
};

TEST_F(Chooser, FolderModeStoresTheFolderAndTheSubFolderSwitch)
{
    app.ps.iDlgMode = 0;
    frmDlg dlg(app, settings);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("文件夹/文件选择对话框"));
    dlg.setFolder(dir);
    dlg.chkSelAll->setChecked(true);
    dlg.cmdOK_Click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(app.ps.sODIR, dir);
    EXPECT_TRUE(app.ps.bSubFolder);
    EXPECT_EQ(settings.text(QStringLiteral("sODIR")), dir);
}

// Cancel empties the folder result; Esc leaves it as it was. Neither
// confirms, and neither remembers a folder.
TEST_F(Chooser, EscapeAndCancelStoreNothing)
{
    for (const bool useEscape : {true, false}) {
        app.ps.iDlgMode = 0;
        app.ps.sODIR = QStringLiteral("/earlier/choice");
        frmDlg dlg(app, settings);
        dlg.setFolder(dir);
        if (useEscape)
            escape(dlg);
        else
            QTest::mouseClick(dlg.cmdCancel, Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(app.ps.sODIR, useEscape ? QStringLiteral("/earlier/choice") : QString()) << useEscape;
        EXPECT_FALSE(settings.contains(QStringLiteral("sODIR")));
    }
    app.ps.iDlgMode = 2;
    app.ps.sSyFile = QStringLiteral("/kept.png");
    frmDlg dlg(app, settings);
    dlg.setFolder(dir);
    dlg.selectFiles({"b.png"});
    escape(dlg);
    EXPECT_EQ(app.ps.sSyFile, QStringLiteral("/kept.png"));
}

TEST_F(Chooser, FileModeListsPicturesInAnyCaseAndReturnsTheChosenOnes)
{
    app.ps.iDlgMode = 1;
    frmDlg dlg(app, settings);
    dlg.setFolder(dir);
    EXPECT_EQ(files(dlg), (QStringList{"A.JPG", "b.png", "c.bmp"}));
    dlg.selectFiles({"A.JPG", "c.bmp"});
    dlg.cmdOK_Click();
    EXPECT_EQ(dlg.chosenFiles(), (QStringList{dir + "/A.JPG", dir + "/c.bmp"}));
    EXPECT_EQ(app.ps.sPicFile, QStringLiteral("c.bmp"));

    frmDlg none(app, settings);
    none.setFolder(dir);
    none.cmdOK_Click();  // nothing selected: nothing chosen, the folder is still remembered
    EXPECT_TRUE(none.chosenFiles().isEmpty());
    EXPECT_EQ(settings.text(QStringLiteral("sODIR")), dir);
}

// A camera folder's names: every ending the run takes is listed and chosen.
TEST_F(Chooser, FileModeListsEveryPictureEnding)
{
    const QString camera = dir + "/camera";
    QDir().mkpath(camera);
    const QStringList pictures = {"a.jpeg", "b.JPEG", "c.jpe", "d.tif", "e.TIFF", "f.jpg"};
    for (const QString& name : pictures + QStringList{"g.txt", "h.jpg.txt"})
        QFile(camera + "/" + name).open(QIODevice::WriteOnly);
    app.ps.iDlgMode = 1;
    frmDlg dlg(app, settings);
    dlg.setFolder(camera);
    EXPECT_EQ(files(dlg), pictures);
    dlg.selectFiles(pictures);
    dlg.cmdOK_Click();
    EXPECT_EQ(dlg.chosenFiles().size(), pictures.size());
}

TEST_F(Chooser, WatermarkAndSkinModesNeedAFile)
{
    struct Case {
        int mode;
        const char* pattern;
        const char* file;
    } cases[] = {{2, "*.jpg;*.gif;*.png;*.bmp", "b.png"}, {4, "*.she", "skin.SHE"}};
    for (const Case& c : cases) {
        app.ps.iDlgMode = c.mode;
        app.ps.iuSYAlpha = 0;
        frmDlg dlg(app, settings);
        EXPECT_EQ(dlg.txtSYAlpha->text(), QStringLiteral("80"));  // a stored 0 opens with 80
        dlg.setPattern(QString::fromLatin1(c.pattern));
        dlg.setFolder(dir);
        EXPECT_FALSE(dlg.cmdOK->isEnabled());
        dlg.cmdOK_Click();
        EXPECT_EQ(dlg.result(), QDialog::Rejected);  // not closed
        dlg.selectFiles({QString::fromLatin1(c.file)});
        EXPECT_TRUE(dlg.cmdOK->isEnabled());
        dlg.txtSYAlpha->setText(QStringLiteral("35"));
        dlg.cmdOK_Click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(app.ps.sSyFile, dir + "/b.png");
    EXPECT_FLOAT_EQ(app.pic.cmSy.m[3][3], 0.35f);
    EXPECT_EQ(app.ps.sSkinFileName, dir + "/skin.SHE");
}

TEST_F(Chooser, OpacityBoxAndSliderFollowEachOther)
{
    app.ps.iDlgMode = 2;
    app.ps.iuSYAlpha = 60;
    frmDlg dlg(app, settings);
    EXPECT_EQ(dlg.txtSYAlpha->text(), QStringLiteral("60"));
    EXPECT_EQ(dlg.HScroll1->value(), 60);
    dlg.HScroll1->setValue(25);
    EXPECT_EQ(dlg.txtSYAlpha->text(), QStringLiteral("25"));
    dlg.txtSYAlpha->setText(QStringLiteral("150"));  // out of range: the slider stays
    EXPECT_EQ(dlg.HScroll1->value(), 25);
}

TEST_F(Chooser, NewFolderNamesAndPreviewLeaveTheStateAlone)
{
    app.ps.iDlgMode = 1;
    app.pic.cmPic.m[0][0] = 2.0f;
    QFile broken(dir + "/broken.jpg");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    frmDlg dlg(app, settings);
    dlg.setFolder(dir);
    dlg.selectFiles({"broken.jpg"});
    dlg.selectFiles({"b.png"});
    EXPECT_FLOAT_EQ(app.pic.cmPic.m[0][0], 2.0f);

    dlg.cmdDirNew_Click();
    EXPECT_EQ(dlg.folder(), dir + QStringLiteral("/新建文件夹"));
    dlg.setFolder(dir);
    dlg.cmdDirNew_Click();
    EXPECT_EQ(dlg.folder(), dir + QStringLiteral("/新建文件夹( 2)"));
    EXPECT_TRUE(QFileInfo(dir + QStringLiteral("/新建文件夹( 2)")).isDir());
}

// Records which folders the folder list has read; it reads them in the background.
class FolderLoads : public QObject {
public:
    explicit FolderLoads(QFileSystemModel* model)
    {
        connect(model, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
            loaded_ << path;
            if (done())
                loop_.quit();
        });
    }

    // Waits until every folder from the root down to `path` is read, so that
    // the rows above it stand; the watchdog only catches a hang.
    bool waitDownTo(const QString& path)
    {
        for (QDir d(path); !d.isRoot(); d.cdUp())
            wanted_ << d.absolutePath();
        wanted_ << QStringLiteral("/");
        if (!done()) {
            QTimer::singleShot(60000, &loop_, &QEventLoop::quit);
            loop_.exec();
        }
        return done();
    }

private:
    bool done() const
    {
        for (const QString& w : wanted_)
            if (!loaded_.contains(w))
                return false;
        return !wanted_.isEmpty();
    }

    QStringList loaded_, wanted_;
    QEventLoop loop_;
};

// Lets the event loop run until `done` holds; the watchdog only catches a hang.
template <class Pred>
bool waitFor(Pred done)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(10);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

TEST_F(Chooser, OpensAtItsStartFolderAndTheFilesFollowTheKeyboard)
{
    const QString two = dir + "/one/two";
    const QString three = two + "/three";
    ASSERT_TRUE(QDir().mkpath(three));
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(three + "/p.jpg"));
    ASSERT_TRUE(image.save(three + "/q.png"));
    ASSERT_TRUE(image.save(two + "/t.bmp"));
    // Folders listed above the way down, more than the list shows at once:
    // read after the list has scrolled, they must not push the folder away.
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(QDir().mkpath(dir + QStringLiteral("/a%1").arg(i, 2, 10, QLatin1Char('0'))));
    app.ps.iDlgMode = 1;
    app.ps.sODIR = three;

    frmDlg dlg(app, settings);
    auto* model = qobject_cast<QFileSystemModel*>(dlg.Dir1->model());
    ASSERT_NE(model, nullptr);
    FolderLoads loads(model);
    dlg.setFolder(app.ps.sODIR);
    dlg.show();
    ASSERT_TRUE(loads.waitDownTo(three));
    const QModelIndex current = dlg.Dir1->currentIndex();
    const auto inView = [&] { return dlg.Dir1->viewport()->rect().contains(dlg.Dir1->visualRect(current)); };
    EXPECT_TRUE(waitFor(inView)) << "row at " << dlg.Dir1->visualRect(current).y() << ", view 0.."
                                 << dlg.Dir1->viewport()->height();

    EXPECT_EQ(model->filePath(current).toStdString(), three.toStdString());
    EXPECT_TRUE(dlg.Dir1->selectionModel()->isSelected(current));
    for (QModelIndex up = current.parent(); up.isValid(); up = up.parent())
        EXPECT_TRUE(dlg.Dir1->isExpanded(up)) << model->filePath(up).toStdString();
    EXPECT_EQ(files(dlg), (QStringList{"p.jpg", "q.png"}));
    EXPECT_EQ(dlg.Drive1->currentText(), QStorageInfo(three).rootPath());

    // Up from the first sub-folder is its parent; down goes back.
    dlg.Dir1->setFocus();
    const struct {
        Qt::Key key;
        QString folder;
        QStringList files;
    } steps[] = {{Qt::Key_Up, two, {"t.bmp"}}, {Qt::Key_Down, three, {"p.jpg", "q.png"}}};
    for (const auto& step : steps) {
        QKeyEvent press(QEvent::KeyPress, step.key, Qt::NoModifier);
        QCoreApplication::sendEvent(dlg.Dir1, &press);
        EXPECT_EQ(dlg.folder().toStdString(), step.folder.toStdString());
        EXPECT_EQ(files(dlg).join(u' ').toStdString(), step.files.join(u' ').toStdString());
    }
}

} // namespace
