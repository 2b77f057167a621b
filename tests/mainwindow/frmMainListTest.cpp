#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <unistd.h>

#include "MainWindowFixture.h"
#include "settings/frmDlg.h"
#include "settings/menus/MenuCommands.h"

namespace {

class MainWindowList : public MainWindowFixture {
protected:
    QStringList listed() const
    {
        QStringList texts;
        for (int i = 0; i < window->lstFile->count(); ++i)
            texts << window->lstFile->item(i)->text();
        return texts;
    }

    bool listCommandsEnabled(bool on) const
    {
        frmMain& w = *window;
        return w.cmdDel->isEnabled() == on && w.cmdClr->isEnabled() == on && w.menus->mDelFile->isEnabled() == on &&
               w.menus->mClear->isEnabled() == on;
    }

    // The chooser confirms `folder` (with or without its sub-folders) or is left with Esc.
    void chooseFolder(const QString& folder, bool subFolders, bool escape = false)
    {
        window->execChooser = [=](frmDlg& dlg) {
            dlg.setFolder(folder);
            dlg.chkSelAll->setChecked(subFolders);
            if (escape) {
                QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QCoreApplication::sendEvent(&dlg, &esc);
            } else {
                dlg.cmdOK_Click();
            }
            return dlg.result();
        };
    }

    void chooseFiles(const QString& folder, const QStringList& names)
    {
        window->execChooser = [=](frmDlg& dlg) {
            dlg.setFolder(folder);
            dlg.selectFiles(names);
            dlg.cmdOK_Click();
            return dlg.result();
        };
    }

    void key(int k)
    {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(window->lstFile, &press);
    }
};

TEST_F(MainWindowList, AddsAFolderWithOrWithoutItsSubFolders)
{
    const QString dir = home + "/fixture";
    for (const char* name : {"A.JPG", "b.Png", "c.tiff", "d.tif", "e.jpeg", "f.txt", "sub/g.jpg", ".hidden/h.jpg"})
        picture(dir + "/" + name, 8, 8);
    ASSERT_EQ(symlink("..", (dir + "/sub/loop").toLocal8Bit().constData()), 0);
    if (geteuid() != 0) {
        picture(dir + "/locked/i.jpg", 8, 8);
        QFile(dir + "/locked").setPermissions(QFileDevice::Permissions{});
    }

    open();
    chooseFolder(dir, false);
    window->cmdAdds_Click();
    const QStringList top = {dir + "/A.JPG", dir + "/b.Png", dir + "/c.tiff", dir + "/d.tif", dir + "/e.jpeg"};
    EXPECT_EQ(listed(), top);
    EXPECT_EQ(window->lstFile->currentRow(), 4);
    EXPECT_EQ(window->lFile->text(), QStringLiteral("图片数量:5个"));
    EXPECT_TRUE(listCommandsEnabled(true));
    EXPECT_EQ(app->ps.sODIR, dir);

    chooseFolder(dir, true);
    window->cmdAdds_Click();  // the listed ones are not added twice
    EXPECT_EQ(listed(), top + QStringList{dir + "/sub/g.jpg"});
    EXPECT_EQ(window->lstFile->currentRow(), 5);
    QFile(dir + "/locked").setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(MainWindowList, EscapeInTheChooserAddsNothing)
{
    picture(home + "/fixture/a.jpg");
    open();
    app->ps.sODIR = home + "/fixture";
    chooseFolder(home + "/fixture", false, true);
    window->cmdAdds_Click();
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(app->ps.sODIR, home + "/fixture");  // kept for the next opening
    EXPECT_TRUE(listCommandsEnabled(false));
}

TEST_F(MainWindowList, AddsChosenFilesOnce)
{
    const QString dir = home + "/fixture";
    for (const char* name : {"a.jpg", "b.GIF", "c.png"})
        picture(dir + "/" + name);
    open();
    chooseFiles(dir, {"a.jpg", "b.GIF"});
    window->cmdAdd_Click();
    chooseFiles(dir, {"c.png", "a.jpg"});
    window->cmdAdd_Click();
    EXPECT_EQ(listed(), (QStringList{dir + "/a.jpg", dir + "/b.GIF", dir + "/c.png"}));
    EXPECT_EQ(window->lstFile->currentRow(), 2);
    chooseFiles(dir, {"a.jpg"});
    window->cmdAdd_Click();  // nothing new, the last entry stays selected
    EXPECT_EQ(listed().size(), 3);
    EXPECT_EQ(window->lstFile->currentRow(), 2);
}

TEST_F(MainWindowList, RemovesWithUndoAndClears)
{
    QStringList paths;
    for (int i = 0; i < 7; ++i)
        paths << picture(home + QStringLiteral("/p/%1.jpg").arg(i));
    open(paths);
    frmMain& w = *window;
    EXPECT_FALSE(w.menus->mUndoDel->isEnabled());
    w.lstFile->clearSelection();
    w.lstFile->item(2)->setSelected(true);
    w.lstFile->item(5)->setSelected(true);
    key(Qt::Key_Delete);
    EXPECT_EQ(listed().size(), 5);
    EXPECT_FALSE(listed().contains(paths[2]) || listed().contains(paths[5]));
    EXPECT_EQ(w.lFile->text(), QStringLiteral("图片数量:5个"));
    EXPECT_EQ(w.lstFile->currentRow(), 2);  // the entry that followed
    EXPECT_TRUE(w.menus->mUndoDel->isEnabled() && w.menus->mUndoDelFile->isEnabled());
    key(Qt::Key_Escape);
    EXPECT_EQ(listed(), paths);
    EXPECT_FALSE(w.menus->mUndoDel->isEnabled() || w.menus->mUndoDelFile->isEnabled());

    // Removing every entry switches the list commands off.
    w.lstFile->selectAll();
    w.cmdDel_Click();
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_TRUE(listCommandsEnabled(false));
    EXPECT_EQ(w.lFile->text(), QStringLiteral("图片数量:0个"));
    w.mUndoDel_Click();
    EXPECT_EQ(listed(), paths);
    EXPECT_TRUE(listCommandsEnabled(true));

    // What was removed before a clear never comes back after it.
    w.lstFile->clearSelection();
    w.lstFile->item(0)->setSelected(true);
    w.cmdDel_Click();
    w.cmdClr_Click();
    EXPECT_TRUE(listCommandsEnabled(false));
    EXPECT_FALSE(w.menus->mUndoDel->isEnabled());
    w.addPictures({paths[6]}, true);
    w.lstFile->selectAll();
    w.cmdDel_Click();
    w.mUndoDel_Click();
    EXPECT_EQ(listed(), QStringList{paths[6]});
}

TEST_F(MainWindowList, KeysMoveTheSelection)
{
    QStringList paths;
    for (int i = 0; i < 40; ++i)
        paths << QStringLiteral("/nowhere/%1.jpg").arg(i);
    open(paths);
    frmMain& w = *window;
    key(Qt::Key_Home);
    EXPECT_EQ(w.lstFile->currentRow(), 0);
    key(Qt::Key_PageUp);
    EXPECT_EQ(w.lstFile->currentRow(), 0);
    key(Qt::Key_PageDown);
    const int page = w.lstFile->currentRow();
    EXPECT_GT(page, 1);
    key(Qt::Key_End);
    EXPECT_EQ(w.lstFile->currentRow(), 39);
    key(Qt::Key_PageDown);
    EXPECT_EQ(w.lstFile->currentRow(), 39);
    key(Qt::Key_PageUp);
    EXPECT_EQ(w.lstFile->currentRow(), 39 - page);
    key(Qt::Key_Escape);  // nothing removed: nothing to undo
    EXPECT_EQ(listed().size(), 40);
}

TEST_F(MainWindowList, DropsFilesOnEachTarget)
{
    struct Case {
        frmMain::DropTarget target;
        bool selects;
    } cases[] = {{frmMain::DropTarget::Form, false},
                 {frmMain::DropTarget::List, true},
                 {frmMain::DropTarget::Image, true},
                 {frmMain::DropTarget::PreviewArea, true}};
    const QString a = picture(home + "/d/a.JPG"), c = picture(home + "/d/c.tiff");
    for (const Case& t : cases) {
        open({picture(home + "/d/first.jpg")});
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(home + "/d/b.doc"), QUrl::fromLocalFile(c),
                      QUrl::fromLocalFile(home + "/d/first.jpg")});
        EXPECT_FALSE(window->dropPictures(data, t.target));  // files: no copy effect
        EXPECT_EQ(listed(), (QStringList{home + "/d/first.jpg", a, c}));
        EXPECT_EQ(window->lstFile->currentRow(), t.selects ? 2 : 0);
        EXPECT_EQ(window->lFile->text(), QStringLiteral("图片数量:3个"));
        close();
    }
}

TEST_F(MainWindowList, DroppedPictureDataIsSavedAndListedWithoutTheClipboard)
{
    open();
    QApplication::clipboard()->setText(QStringLiteral("the user's clipboard"));
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    QMimeData data;
    data.setImageData(image);
    EXPECT_TRUE(window->dropPictures(data, frmMain::DropTarget::List));
    EXPECT_TRUE(window->dropPictures(data, frmMain::DropTarget::List));
    const QStringList paths = listed();
    ASSERT_EQ(paths.size(), 2);
    EXPECT_NE(paths[0], paths[1]);
    for (const QString& path : paths) {
        EXPECT_TRUE(path.startsWith(home + "/user/tempWL")) << path.toStdString();
        EXPECT_EQ(QImage(path).size(), QSize(20, 10));
    }
    EXPECT_TRUE(listCommandsEnabled(true));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("the user's clipboard"));

    // A picture that cannot be saved is not listed.
    QDir(home + "/user").removeRecursively();
    picture(home + "/user", 1, 1);  // a file where the folder should be
    window->dropPictures(data, frmMain::DropTarget::Form);
    EXPECT_EQ(listed().size(), 2);
}

} // namespace
