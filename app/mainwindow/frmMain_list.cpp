// The picture list: adding files and folders, removing with undo, clearing,
// and the list's own keys and mouse.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextBrowser>

#include "mainwindow/FolderPictures.h"
#include "mainwindow/ListRemoval.h"
#include "mainwindow/ProgramTitle.h"
#include "mainwindow/frmMain.h"
#include "services/ShellHelpers.h"
#include "settings/frmDlg.h"
#include "settings/menus/MenuCommands.h"
#include "state/AppState.h"
#include "widgets/BusyCursor.h"

void frmMain::showNotice()
{
    app.status.show(QStringLiteral("【提示】请添加要处理的图片:点击\"添加图片\"或\"添加文件夹\",也可以把图片拖到这里。"));
}

// Nothing is shown of the pictures that left the list: neither the preview,
// nor a caption that names one (or its damage), nor what was kept of it.
void frmMain::showEmptyList()
{
    imgM->hide();
    imgSmall->hide();
    preview_.forget();
    setWindowTitle(programTitle());
    showNotice();
}

int frmMain::listIndex() const
{
    return lstFile->currentRow();
}

void frmMain::setListIndex(int index)
{
    if (index < -1 || index >= lstFile->count())
        return;
    // currentRowChanged redraws the preview when the index really changes.
    if (index >= 0)
        lstFile->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    else
        lstFile->setCurrentRow(-1);
}

void frmMain::refreshListBox()
{
    const QSignalBlocker block(lstFile);
    const int row = lstFile->currentRow();
    const int count = app.list.count();
    // Adders only append, so the common case is a new tail.
    bool same = lstFile->count() <= count;
    for (int i = 0; same && i < lstFile->count(); ++i)
        same = lstFile->item(i)->text() == app.list.at(i).path;
    if (!same)
        lstFile->clear();
    for (int i = lstFile->count(); i < count; ++i) {
        auto* item = new QListWidgetItem(app.list.at(i).path, lstFile);
        item->setToolTip(app.list.at(i).path);
    }
    if (!same && row < count)
        lstFile->setCurrentRow(row);
}

void frmMain::updateListControls()
{
    const int count = app.list.count();
    lFile->setText(QStringLiteral("图片数量:%1个").arg(count));
    const bool any = count > 0;
    cmdDel->setEnabled(any);
    cmdClr->setEnabled(any);
    menus->mDelFile->setEnabled(any);
    menus->mClear->setEnabled(any);
}

int frmMain::addPictures(const QStringList& paths, bool select)
{
    int added = 0;
    for (const QString& path : paths) {
        if (!app.list.add(path))
            continue;
        ++added;
        refreshListBox();
        if (select)
            setListIndex(app.list.count() - 1);
    }
    updateListControls();
    return added;
}

void frmMain::cmdAdd_Click()
{
    if (app.win.bScanning)
        return;
    app.ps.iDlgMode = 1;
    app.status.show(QStringLiteral("【提示】选择要添加的图片,可多选。"));
    frmDlg dlg(app, settings_, this);
    dlg.Label1->setText(QStringLiteral("选择要添加的图片,可多选。"));
    dlg.setFolder(app.ps.sODIR);
    if (execChooser(dlg) == QDialog::Accepted)
        addPictures(dlg.chosenFiles(), false);
    updateListControls();
    if (!app.list.empty())
        Web->hide();
    setListIndex(app.list.count() - 1);
    lstFile->setFocus();
}

void frmMain::cmdAdds_Click()
{
    if (app.win.bScanning)
        return;
    app.ps.iDlgMode = 0;
    app.status.show(QStringLiteral("【提示】请选择文件夹,该文件夹内所有图片将被添加。"));
    frmDlg dlg(app, settings_, this);
    dlg.Label1->setText(QStringLiteral("请选择文件夹,该文件夹内所有图片将被添加。"));
    dlg.File1->setEnabled(false);
    dlg.Frame1->hide();
    dlg.setFolder(app.ps.sODIR);
    dlg.chkSelAll->show();
    // Only a confirmed choice is acted on; a cancelled one leaves sODIR empty.
    if (execChooser(dlg) != QDialog::Accepted || app.ps.sODIR.isEmpty())
        return;
    {
        const BusyCursor busy;
        // The scan lets the window breathe once per file; its busy flag keeps
        // a second scan, a clear or a run from starting meanwhile.
        if (app.ps.bSubFolder)
            AddFolderPics(app, app.ps.sODIR, [] { QCoreApplication::processEvents(); });
        else
            for (const QString& path : folderPictures(app.ps.sODIR))
                app.list.add(path);
    }
    refreshListBox();
    updateListControls();
    if (!app.list.empty())
        Web->hide();
    setListIndex(app.list.count() - 1);
    lstFile->setFocus();
}

void frmMain::cmdClr_Click()
{
    if (app.win.bScanning || running_)
        return;
    {
        const QSignalBlocker block(lstFile);
        lstFile->clear();
    }
    app.list.clear();
    // What was removed before a clear must not come back after it.
    app.win.sDelList.clear();
    updateListControls();
    menus->mUndoDel->setEnabled(false);
    menus->mUndoDelFile->setEnabled(false);
    cmdAdds->setFocus();
    showEmptyList();
}

void frmMain::cmdDel_Click()
{
    if (app.win.bScanning || running_)
        return;
    std::vector<int> selected;
    for (const QModelIndex& index : lstFile->selectionModel()->selectedRows())
        selected.push_back(index.row());
    const std::vector<int> removed = removeEntries(app.list, app.win.sDelList, selected);
    {
        const QSignalBlocker block(lstFile);
        for (int i : removed)
            delete lstFile->takeItem(i);
    }
    updateListControls();
    lstFile->setFocus();
    if (!removed.empty() && !app.list.empty()) {
        // The entry that followed the removed ones takes the selection.
        const int next = std::min(removed.back(), app.list.count() - 1);
        lstFile->setCurrentRow(-1);
        setListIndex(next);
    }
    if (app.list.empty())
        showEmptyList();
    menus->mUndoDel->setEnabled(true);
    menus->mUndoDelFile->setEnabled(true);
}

void frmMain::mUndoDel_Click()
{
    if (app.win.bScanning || running_)
        return;
    const std::vector<int> restored = undoRemovals(app.list, app.win.sDelList);
    refreshListBox();
    updateListControls();
    menus->mUndoDel->setEnabled(false);
    menus->mUndoDelFile->setEnabled(false);
    // The entries moved under the selection: the preview is drawn again for
    // whatever is selected now, also when the selected row number stayed.
    const int before = listIndex();
    if (!restored.empty())
        setListIndex(restored.back());
    if (listIndex() == before && before >= 0)
        lstFile_Click();
}

bool frmMain::lstFile_KeyDown(int key)
{
    const int count = lstFile->count();
    const int rowHeight = std::max(1, lstFile->fontMetrics().height());
    const int rows = std::max(1, lstFile->viewport()->height() / rowHeight);
    switch (key) {
    case Qt::Key_Delete:
        cmdDel_Click();
        return true;
    case Qt::Key_Escape:
        if (menus->mUndoDel->isEnabled())
            mUndoDel_Click();
        return true;
    case Qt::Key_Home:
        setListIndex(count > 0 ? 0 : -1);
        return true;
    case Qt::Key_End:
        setListIndex(count - 1);
        return true;
    case Qt::Key_PageUp:
        setListIndex(count > 0 ? std::max(0, listIndex() - rows) : -1);
        return true;
    case Qt::Key_PageDown:
        setListIndex(listIndex() + rows < count ? listIndex() + rows : count - 1);
        return true;
    default:
        return false;
    }
}

void frmMain::lstFile_MouseDown(Qt::MouseButton button, QPoint pos)
{
    if (button == Qt::RightButton && listIndex() >= 0)
        menus->mLst->popup(lstFile->viewport()->mapToGlobal(pos));
}
