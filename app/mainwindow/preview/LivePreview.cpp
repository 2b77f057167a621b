#include "mainwindow/preview/LivePreview.h"

#include <QFileInfo>

#include "mainwindow/ProgramTitle.h"
#include "services/ShellHelpers.h"
#include "mainwindow/preview/PreviewFit.h"
#include "mainwindow/preview/PreviewTexts.h"
#include "mainwindow/preview/ViewPicture.h"
#include "platform/imaging/PictureReader.h"
#include "processing/RenderPicture.h"
#include "state/AppState.h"

namespace {

// A neighbour that is missing or cannot be read shows an empty image rather
// than the picture it showed before.
QImage neighbour(const PictureList& list, int index, QSize box)
{
    if (index < 0 || index >= list.count())
        return {};
    return loadViewPicture(list.at(index).path, box).image;
}

} // namespace

PreviewFrame LivePreview::redraw(int index, const PreviewLayout& layout)
{
    PreviewFrame f;
    troubleSaid_ = false;
    line_.clear();
    if (st_.list.empty()) {
        say(previewtext::kEmptyList);
        return f;
    }
    f.outcome = PreviewFrame::Outcome::NoSelection;
    if (index < 0 || index >= st_.list.count())
        return f;
    const PictureEntry& entry = st_.list.at(index);
    const QString path = entry.path;
    const QFileInfo info(path);
    // What the window showed of the picture before must not pass for this one.
    const auto unreadable = [&] {
        say(previewtext::unreadableLine(path, info.exists()));
        troubleSaid_ = true;
        f.outcome = PreviewFrame::Outcome::Unreadable;
        f.thumbnail = QImage();
        f.caption = programTitle();
        f.description = previewtext::descriptionText(entry.description);
        return f;
    };
    if (!info.isFile())
        return unreadable();

    // Every kind the list takes is measured and shown as a thumbnail.
    const ViewPicture source = loadViewPicture(path, layout.thumbnailFrame);
    if (source.image.isNull())
        return unreadable();
    say(previewtext::infoLine(path, source.image.isNull() ? std::nullopt : std::optional(source.natural),
                              info.size()));

    f.outcome = PreviewFrame::Outcome::Shown;
    f.thumbnail = source.image;
    f.thumbnailRect = fitPicture(source.natural, layout.thumbnailFrame);

    if (!st_.win.bPreviewOff) {
        RenderResult r = renderPicture(path, st_);
        picture_ = std::move(r.picture);
        f.errors = std::move(r.errors);
        textExtent_ = measureMarkText(st_.ps, path);
        if (picture_.isNull()) {
            // The pipeline says why (a target size it cannot make, a picture
            // too large, pixels that do not decode): that reason is shown.
            unreadable();
            if (!f.errors.isEmpty())
                say(previewtext::refusedLine(path, f.errors.first()));
            return f;
        }
        // A file read in part shows its grey rest in the preview: the line says why.
        if (!r.tips.isEmpty()) {
            say(previewtext::troubleLine(r.tips));
            troubleSaid_ = true;
        }
    }
    f.picture = picture_;
    f.pictureRect = fitPicture(picture_.size(), layout.area);
    pictureRect_ = f.pictureRect;

    st_.ps.sPicFile = path;
    f.description = previewtext::descriptionText(entry.description);
    f.caption = previewtext::windowCaption(path);
    f.previous = neighbour(st_.list, index - 1, layout.neighbourBox);
    f.next = neighbour(st_.list, index + 1, layout.neighbourBox);
    return f;
}

void LivePreview::say(const QString& line)
{
    line_ = line;
    ShowTip(st_, line);
}

MarkScene LivePreview::markScene() const
{
    return makeMarkScene(st_, QRectF(pictureRect_), QSizeF(picture_.size()), textExtent_);
}
