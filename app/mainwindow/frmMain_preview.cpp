// The live preview: the selected entry rendered with every current setting,
// fitted into the preview area, with the source and neighbour thumbnails,
// the information line, the description and the caption.
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTextBrowser>

#include "mainwindow/frmMain.h"
#include "mainwindow/preview/PreviewKeys.h"
#include "mainwindow/preview/PreviewTexts.h"
#include "mainwindow/preview/WatermarkScale.h"
#include "state/AppState.h"
#include "widgets/BusyCursor.h"

namespace {

void showImage(QLabel* label, const QImage& image)
{
    if (image.isNull())
        label->clear();
    else
        label->setPixmap(QPixmap::fromImage(image));
}

} // namespace

void frmMain::lstFile_Click()
{
    const BusyCursor busy;
    const PreviewFrame f =
        preview_.redraw(listIndex(), {picImg->size(), picSmall->size(), imgPre->size()});
    if (f.outcome == PreviewFrame::Outcome::EmptyList)
        return;
    imgM->hide();
    imgM->clear();
    if (f.outcome == PreviewFrame::Outcome::NoSelection)
        return;
    if (f.outcome == PreviewFrame::Outcome::Unreadable) {
        imgSmall->hide();
        imgSmall->clear();
        txtPicTxt->setText(f.description);
        setWindowTitle(f.caption);
        return;
    }
    imgSmall->hide();
    imgSmall->setGeometry(f.thumbnailRect);
    showImage(imgSmall, f.thumbnail);
    imgSmall->setVisible(!f.thumbnail.isNull());
    imgM->setGeometry(f.pictureRect);
    if (!f.picture.isNull()) {
        imgM->setPixmap(QPixmap::fromImage(f.picture));
        imgM->show();
    }
    txtPicTxt->setText(f.description);
    setWindowTitle(f.caption);
    Web->hide();
    showImage(imgPre, f.previous);
    showImage(imgFor, f.next);
}

void frmMain::imgPre_Click()
{
    if (const auto i = previousEntry(listIndex(), lstFile->count()))
        setListIndex(*i);
}

void frmMain::imgFor_Click()
{
    if (const auto i = nextEntry(listIndex(), lstFile->count()))
        setListIndex(*i);
}

void frmMain::hscSY_Change()
{
    applyWatermarkScale(app, hscSY->value());
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
    // The hint is no description of the picture.
    if (index >= 0 && index < app.list.count())
        app.list.at(index).description = text == previewtext::kDescriptionHint ? QString() : text;
    lstFile->setFocus();
}

void frmMain::txtPicTxt_GotFocus()
{
    app.status.show(QStringLiteral("【提示】请输入对该图片的说明，该说明将在PDF文档或被整合到网页中。"));
}
