// Pictures dropped on the window: picture data is saved as a file of its own
// and listed; dropped files are listed when they are pictures. The window's
// surface, the list, the preview image and the preview area take drops.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QTextBrowser>
#include <QUrl>

#include "mainwindow/DroppedPicture.h"
#include "mainwindow/frmMain.h"
#include "platform/folders/ProgramFolders.h"
#include "state/AppState.h"
#include "state/PicturePaths.h"

namespace {

bool offersPictures(const QMimeData* data)
{
    return data && (data->hasImage() || data->hasUrls());
}

// A drop only ever copies: the source keeps its files whatever it proposes,
// so the answer is "copy" from the first event a source sees, never "move".
void answerDrag(QDropEvent* event)
{
    if (offersPictures(event->mimeData()) && (event->possibleActions() & Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace

bool frmMain::dropPictures(const QMimeData& mime, DropTarget target)
{
    const bool selects = target != DropTarget::Form;
    const bool hidesNews = target == DropTarget::List || target == DropTarget::Image;
    bool copied = true;
    if (mime.hasImage()) {
        // The drop's own picture data; the clipboard is never involved.
        const QImage picture = qvariant_cast<QImage>(mime.imageData());
        const QString path = saveDroppedPicture(picture, ProgramFolders::userDir());
        if (!path.isEmpty()) {
            app.list.append(path);
            refreshListBox();
        } else {
            app.status.show(QStringLiteral("【错误提示】拖入的图片无法保存到user文件夹。"));
        }
    } else if (mime.hasUrls()) {
        for (const QUrl& url : mime.urls()) {
            const QString path = url.toLocalFile();
            if (path.isEmpty() || !isPictureName(path))
                continue;
            addPictures({path}, selects);
        }
        copied = false;
    }
    updateListControls();
    if (hidesNews && !app.list.empty())
        Web->hide();
    return copied;
}

void frmMain::dragEnterEvent(QDragEnterEvent* event)
{
    answerDrag(event);
}

void frmMain::dragMoveEvent(QDragMoveEvent* event)
{
    answerDrag(event);
}

void frmMain::dropEvent(QDropEvent* event)
{
    answerDrag(event);
    if (event->isAccepted())
        dropPictures(*event->mimeData(), DropTarget::Form);
}

bool frmMain::filterDropEvent(QObject* watched, QEvent* event)
{
    DropTarget target;
    if (watched == lstFile->viewport())
        target = DropTarget::List;
    else if (watched == imgM)
        target = DropTarget::Image;
    else if (watched == picImg)
        target = DropTarget::PreviewArea;
    else
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        answerDrag(static_cast<QDropEvent*>(event));
        return true;
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        answerDrag(e);
        if (e->isAccepted())
            dropPictures(*e->mimeData(), target);
        return true;
    }
    default:
        return false;
    }
}
