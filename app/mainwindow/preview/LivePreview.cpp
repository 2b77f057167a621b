#include "mainwindow/preview/LivePreview.h"

#include <QFileInfo>
#include <algorithm>

#include "mainwindow/ProgramTitle.h"
#include "services/ShellHelpers.h"
#include "mainwindow/preview/PreviewFit.h"
#include "mainwindow/preview/PreviewTexts.h"
#include "mainwindow/preview/ViewPicture.h"
#include "platform/imaging/PictureReader.h"
#include "processing/LoadTrouble.h"
#include "state/AppState.h"

PreviewFrame LivePreview::redraw(int index, const PreviewLayout& layout)
{
    PreviewFrame f;
    troubleSaid_ = false;
    line_.clear();
    if (st_.list.empty()) {
        forget();
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
        // Nothing of another picture is kept for an entry that shows none.
        if (!shown_ || shown_->key.path != path)
            forget();
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

    // Every kind the list takes is measured by its header and shown as a thumbnail.
    const imaging::PictureProbe probe = imaging::probePicture(path);
    if (!probe.ok())
        return unreadable();
    say(previewtext::infoLine(path, probe.size, info.size()));
    f.outcome = PreviewFrame::Outcome::Shown;

    if (!st_.win.bPreviewOff) {
        const RenderResult& r = render(path);
        picture_ = r.picture;
        f.errors = r.errors;
        textExtent_ = measureMarkText(st_.ps, path);
        if (picture_.isNull()) {
            // A picture whose pixels do not decode at all is unreadable, as one
            // whose header does not read; otherwise the pipeline says why (a
            // target size it cannot make, a picture too large).
            const imaging::LoadedPicture* source = sources_.kept(path);
            const LoadTrouble trouble = source ? loadTrouble(*source, probe.size) : LoadTrouble{};
            const bool undecodable = source && source->image.isNull() && trouble.kind == RunError::InvalidPicture &&
                                     trouble.detail.isEmpty();
            unreadable();
            if (!undecodable && !f.errors.isEmpty())
                say(previewtext::refusedLine(path, f.errors.first()));
            return f;
        }
        // A file read in part shows its grey rest in the preview: the line says why.
        if (!r.tips.isEmpty()) {
            say(previewtext::troubleLine(r.tips));
            troubleSaid_ = true;
        }
    }
    f.thumbnail = thumbnail(path, probe, layout.thumbnailFrame);
    if (f.thumbnail.isNull())
        return unreadable();
    f.thumbnailRect = fitPicture(probe.size, layout.thumbnailFrame);
    f.picture = picture_;
    f.pictureRect = fitPicture(picture_.size(), layout.area);
    pictureRect_ = f.pictureRect;

    // The damage stays marked where no hint writes, whatever the status line says later.
    const imaging::LoadedPicture* source = sources_.kept(path);
    st_.ps.sPicFile = path;
    f.description = previewtext::descriptionText(entry.description);
    f.caption = previewtext::windowCaption(path, source && source->damaged);
    f.previous = neighbour(index - 1, layout.neighbourBox);
    f.next = neighbour(index + 1, layout.neighbourBox);
    return f;
}

const RenderResult& LivePreview::render(const QString& path)
{
    const RenderKey key = renderKey(path, st_);
    if (shown_ && shown_->key == key) {
        storeMarkPositions(shown_->result.marks, st_);
        return shown_->result;
    }
    // The old result goes before the new one is made.
    shown_.reset();
    picture_ = QImage();
    RenderResult r = renderPicture(path, st_, &sources_);
    // The watermark positions the render stored back are part of the settings
    // it was made with.
    RenderKey made = key;
    made.settings = comparedSettings(st_);
    shown_ = Shown{std::move(made), std::move(r)};
    return shown_->result;
}

QImage LivePreview::thumbnail(const QString& path, const imaging::PictureProbe& probe, QSize box)
{
    const FileStamp stamp = fileStamp(path);
    if (thumb_ && thumb_->path == path && thumb_->stamp == stamp && thumb_->box == box)
        return thumb_->image;
    const imaging::LoadedPicture* source = sources_.kept(path);
    if (!source) {
        const QSize size = thumbnailSize(probe.size, box);
        const double shrink = std::min(double(probe.size.width()) / size.width(),
                                       double(probe.size.height()) / size.height());
        source = &sources_.load(path, probe, shrink);
    }
    thumb_ = Thumb{path, stamp, box, thumbnailFrom(source->image, probe.size, box)};
    return thumb_->image;
}

// A neighbour that is missing or cannot be read shows an empty image rather
// than the picture it showed before.
QImage LivePreview::neighbour(int index, QSize box)
{
    if (index < 0 || index >= st_.list.count())
        return {};
    const QString& path = st_.list.at(index).path;
    const FileStamp stamp = fileStamp(path);
    for (const Thumb& t : neighbours_)
        if (t.path == path && t.stamp == stamp && t.box == box)
            return t.image;
    // The two of the last redraw are kept: a redraw of the same entry reads neither again.
    if (neighbours_.size() >= 2)
        neighbours_.erase(neighbours_.begin());
    neighbours_.push_back({path, stamp, box, loadViewPicture(path, box).image});
    return neighbours_.back().image;
}

void LivePreview::forget()
{
    shown_.reset();
    thumb_.reset();
    sources_.clear();
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
