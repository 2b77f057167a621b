#include "processing/SourceCache.h"

const imaging::LoadedPicture& SourceCache::load(const QString& path, const imaging::PictureProbe& probe,
                                                double shrink)
{
    const FileStamp stamp = fileStamp(path);
    if (stamp.exists && path == path_ && stamp == stamp_ &&
        picture_.decodedSize == imaging::reducedDecodeSize(probe, shrink))
        return picture_;
    // The old picture goes first: two huge ones are never held at once.
    clear();
    picture_ = imaging::loadPictureReduced(path, probe, shrink);
    // A file changed while it was read is not trusted for the next redraw.
    if (stamp.exists && fileStamp(path) == stamp) {
        path_ = path;
        stamp_ = stamp;
    }
    return picture_;
}

const imaging::LoadedPicture* SourceCache::kept(const QString& path) const
{
    if (path_.isEmpty() || path != path_ || fileStamp(path) != stamp_)
        return nullptr;
    return &picture_;
}

void SourceCache::clear()
{
    path_.clear();
    stamp_ = {};
    picture_ = {};
}
