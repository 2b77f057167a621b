// The live preview: the selected entry rendered with every current setting,
// fitted into the preview area, with the source and neighbour thumbnails,
// the information line, the description and the caption.
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTextBrowser>

#include "mainwindow/BusyCursor.h"
#include "mainwindow/PreviewGeometry.h"
#include "mainwindow/ProgramTitle.h"
#include "mainwindow/frmMain.h"
#include "state/AppState.h"

namespace {

const QString kDescriptionHint = QStringLiteral("在这里填写该图片的说明,回车确认,ESC键隐藏本说明");

// Files whose size the information line shows, as the toolkit's loader reads them.
bool measuredKind(const QString& path)
{
    const QString ext = path.right(3).toLower();
    return ext == QLatin1String("jpg") || ext == QLatin1String("bmp") || ext == QLatin1String("gif");
}

QRect toRect(const TwipRect& r) { return {r.left, r.top, r.width, r.height}; }

} // namespace

QRect frmMain::previewRect() const
{
    return imgM->geometry();
}

void frmMain::setThumbnail(QLabel* label, const QString& path, bool clearOnFailure)
{
    if (path.isEmpty()) {
        label->clear();
        return;
    }
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid() && !size.isEmpty()) {
        reader.setScaledSize(size.scaled(label->size().expandedTo({1, 1}), Qt::KeepAspectRatio).expandedTo({1, 1}));
        const QImage thumb = reader.read();
        if (!thumb.isNull()) {
            label->setPixmap(QPixmap::fromImage(thumb));
            return;
        }
    }
    if (clearOnFailure)
        label->clear();
}

void frmMain::lstFile_Click()
{
    const int index = listIndex();
    if (app.list.empty()) {
        showNotice();
        return;
    }
    if (index < 0 || index >= app.list.count())
        return;
    const BusyCursor busy;
    imgM->hide();
    imgM->clear();
    const QString path = app.list.at(index).path;
    const QFileInfo info(path);
    if (!info.isFile())
        return;
    QSize source;
    if (measuredKind(path)) {
        source = QImageReader(path).size();
        if (!source.isValid())
            return;
    }
    app.status.show(pictureInfoLine(info.fileName(), info.size(), measuredKind(path), source.width(),
                                    source.height()));
    imgSmall->hide();
    imgSmall->clear();
    imgSmall->setGeometry(toRect(fitPicture(source.width(), source.height(), picSmall->width(), picSmall->height())));
    if (measuredKind(path)) {
        setThumbnail(imgSmall, path, true);
        imgSmall->show();
    }

    renderPicture(index);
    imgM->setGeometry(toRect(fitPicture(picM_.width(), picM_.height(), picImg->width(), picImg->height())));
    if (!picM_.isNull()) {
        imgM->setPixmap(QPixmap::fromImage(picM_));
        imgM->show();
    }
    app.ps.sPicFile = path;
    const QString& text = app.list.at(index).description;
    txtPicTxt->setText(text.isEmpty() ? kDescriptionHint : text);
    setWindowTitle(programTitle() + QStringLiteral(" - ") + path);
    Web->hide();
    // A neighbour that cannot be read leaves its thumbnail empty, not stale.
    setThumbnail(imgPre, index > 0 ? app.list.at(index - 1).path : QString(), true);
    setThumbnail(imgFor, index + 1 < app.list.count() ? app.list.at(index + 1).path : QString(), true);
}

void frmMain::imgPre_Click()
{
    if (listIndex() - 1 >= 0)
        setListIndex(listIndex() - 1);
}

void frmMain::imgFor_Click()
{
    if (listIndex() + 1 < lstFile->count())
        setListIndex(listIndex() + 1);
}

void frmMain::hscSY_Change()
{
    app.ps.sngSyScale = watermarkScale(hscSY->value());
    picImg->setFocus();
    lstFile_Click();
}

void frmMain::txtPicTxt_KeyDown(int key)
{
    if (key == Qt::Key_Escape) {
        txtPicTxt->hide();
        return;
    }
    const int index = listIndex();
    const QString text = txtPicTxt->text();
    if (index >= 0 && index < app.list.count())
        app.list.at(index).description = text == kDescriptionHint ? QString() : text;
    lstFile->setFocus();
}
