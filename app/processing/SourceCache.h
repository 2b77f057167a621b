#pragma once

#include <QSize>
#include <QString>

#include "platform/imaging/PictureReader.h"
#include "processing/FileStamp.h"

// The one source picture the live preview keeps decoded: the picture shown.
// A redraw with other settings draws from it instead of reading the file
// again, as long as the file is unchanged on disk and the pipeline asks for
// the same decoded size (a JPEG is decoded smaller for a small result).
// Holds one picture at most; a batch run keeps none.
class SourceCache {
public:
    // The picture at `path` decoded as loadPictureReduced decodes it for
    // `shrink`: the kept one when it is that file, unchanged, at that size;
    // else a new decode, which replaces the kept one.
    const imaging::LoadedPicture& load(const QString& path, const imaging::PictureProbe& probe, double shrink);

    // The kept decode of `path` at whatever size, when the file is unchanged
    // since; null otherwise.
    const imaging::LoadedPicture* kept(const QString& path) const;

    // Lets the kept picture go (its memory with it).
    void clear();

private:
    QString path_;
    FileStamp stamp_;
    imaging::LoadedPicture picture_;
};
