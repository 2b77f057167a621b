// The picture viewer's side of the main window: the two commands that open
// it on the source or the processed preview, the opener every viewer
// command uses, and what the viewer may do to the list, the preview and the
// window.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTextBrowser>

#include "mainwindow/BusyCursor.h"
#include "mainwindow/ListRemoval.h"
#include "mainwindow/SettingsStore.h"
#include "services/ShellHelpers.h"
#include "mainwindow/frmMain.h"
#include "platform/folders/ProgramFolders.h"
#include "platform/imaging/PictureWriter.h"
#include "platform/prompter/Prompter.h"
#include "platform/wallpaper/DesktopWallpaper.h"
#include "state/AppState.h"
#include "viewer/ViewerHost.h"
#include "viewer/frmPic.h"

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
        w.mUndoDel->setEnabled(true);
        w.mUndoDelFile->setEnabled(true);
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

frmPic* frmMain::openViewer()
{
    if (viewer_)
        viewer_->close();
    if (!viewerBridge_)
        viewerBridge_ = std::make_shared<ViewerBridge>(*this);
    // A window of its own (hiding the main window leaves it shown), deleted
    // with the main window at the latest.
    auto* view = new frmPic(app.ps, *viewerBridge_, prompter_, this);
    if (!view->Form_Load())
        return nullptr;
    viewer_ = view;
    view->show();
    view->raise();
    view->activateWindow();
    view->setFocus();
    return view;
}

void frmMain::mFBrows_Click()
{
    if (app.list.empty()) {
        app.status.show(QStringLiteral("【操作错误】当前没有图片可以浏览。"));
        return;
    }
    app.ps.iPicSource = 0;
    openViewer();
}

void frmMain::mFBrows2_Click()
{
    if (txtW->text() == QLatin1String("0") && txtH->text() == QLatin1String("0") && app.ps.iSizeMode != 1 &&
        app.ps.iSizeMode != 2) {
        prompter_.message(QStringLiteral("图片尺寸不能同时为0！"), QString(), PromptIcon::Critical);
        txtW->setFocus();
        txtW->selectAll();
        return;
    }
    if (renderedPicture().isNull() || imgM->pixmap().isNull()) {
        app.status.show(QStringLiteral("【操作错误】没有可预览的图片。"));
        return;
    }
    {
        const BusyCursor busy;
        app.ps.iPicSource = 1;
        lstFile_Click();
        const QString temp = ProgramFolders::userDir() + QStringLiteral("/tempBZ.bmp");
        const imaging::WriteResult written =
            imaging::writePicture(renderedPicture(), temp, imaging::Encoder::Bmp, 0);
        if (!written.ok) {
            app.status.show(QStringLiteral("【操作错误】无法保存预览图片:") + written.error);
            return;
        }
    }
    openViewer();
}
