// The picture viewer's side of the main window: the opener every viewer
// command of the menus uses, and what the viewer may do to the list, the
// preview and the window.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTextBrowser>

#include "mainwindow/ListRemoval.h"
#include "mainwindow/frmMain.h"
#include "platform/folders/ProgramFolders.h"
#include "platform/imaging/PictureWriter.h"
#include "platform/prompter/Prompter.h"
#include "platform/wallpaper/DesktopWallpaper.h"
#include "services/ShellHelpers.h"
#include "settings/menus/MenuCommands.h"
#include "state/AppState.h"
#include "store/SettingsStore.h"
#include "viewer/ViewerHost.h"
#include "viewer/frmPic.h"
#include "widgets/BusyCursor.h"

struct frmMain::ViewerBridge : ViewerHost {
    explicit ViewerBridge(frmMain& window) : w(window) {}

    int listCount() const override { return w.app.list.count(); }
    int listIndex() const override { return w.listIndex(); }
    void setListIndex(int index) override { w.setListIndex(index); }
    QString listItem(int index) const override
    {
        return index >= 0 && index < w.app.list.count() ? w.app.list.at(index).path : QString();
    }
    bool removeListItem(int index) override
    {
        if (index < 0 || index >= w.app.list.count())
            return false;
        // Recorded like any removal, so "重新载入移除的图片" brings it back.
        removeEntries(w.app.list, w.app.win.sDelList, {index});
        {
            const QSignalBlocker block(w.lstFile);
            delete w.lstFile->takeItem(index);
        }
        w.updateListControls();
        w.menus->mUndoDel->setEnabled(true);
        w.menus->mUndoDelFile->setEnabled(true);
        return true;
    }
    void appendListItem(const QString& path) override
    {
        w.app.list.append(path);
        w.refreshListBox();
        w.updateListControls();
        w.Web->hide();
    }
    void lstFile_Click() override { w.lstFile_Click(); }
    QImage processedPicture() const override { return w.renderedPicture(); }
    void setHostVisible(bool visible) override { w.setVisible(visible); }
    void showTip(const QString& text) override { w.app.status.show(text); }
    QString setting(const QString& key) const override { return w.settings_.text(key); }
    void storeSetting(const QString& key, const QString& value) override
    {
        w.settings_.writeText(key, value);
        w.settings_.sync();
    }
    bool setWallpaper(const QString& path, int style) override
    {
        if (!w.wallpaper)
            w.wallpaper = std::make_shared<DesktopWallpaper>();
        return SetWallpaper(*w.wallpaper, path, style);
    }

    frmMain& w;
};

frmPic* frmMain::viewer() const
{
    return viewer_.data();
}

ViewerHost& frmMain::viewerHost()
{
    if (!viewerBridge_)
        viewerBridge_ = std::make_shared<ViewerBridge>(*this);
    return *viewerBridge_;
}

frmPic* frmMain::openViewer()
{
    if (viewer_)
        viewer_->close();
    // A window of its own (hiding the main window leaves it shown), deleted
    // with the main window at the latest.
    auto* view = new frmPic(app.ps, viewerHost(), prompter_, this);
    if (!view->Form_Load())
        return nullptr;
    viewer_ = view;
    view->show();
    view->raise();
    view->activateWindow();
    view->setFocus();
    return view;
}
