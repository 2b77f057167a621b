#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <set>
#include <utility>
#include <vector>

#include "processing/EncodedResult.h"

class PictureList;
struct RunEntry;
struct RunRequest;

// The files of the picture list, known by their identity on disk (device and
// inode), so that no output path reaches a source through another spelling,
// a link or a hard link; and the files a run has written so far. Every file a
// run writes takes its path from `claim`.
class SourceGuard {
public:
    explicit SourceGuard(const std::vector<RunEntry>& sources);
    explicit SourceGuard(const PictureList& list);
    bool isSource(const QString& path) const;
    // `path` itself when it is neither a source nor claimed before in this
    // run; else the first free of "<name>_1.<ext>", "<name>_2.<ext>"...
    // Empty when none is free. A numbered name too long for the file system
    // is shortened by whole characters of <name>, but never in its last
    // `keptTail` characters (a counter that keeps results apart).
    QString claim(const QString& path, qsizetype keptTail = 0);

private:
    void addSource(const QString& path);

    std::set<std::pair<unsigned long long, unsigned long long>> ids_;
    std::set<QString> claimed_;
};

// File name of entry `index`'s result: prefix and zero-padded index when
// renaming is on, else the source's name without its extension; then "." and
// the format. Path separators and NUL in the name become "_", so the name
// stays inside the output folder. A name longer than the file system takes
// loses whole characters from the end of the prefix (or of the source's
// name); the counter and the format stay whole.
QString outputName(const RunRequest& request, int index, const QString& sourcePath, const QString& format);
// The zero-padded counter of entry `index` that a renamed result's name
// carries; "" when renaming is off.
QString outputCounter(const RunRequest& request, int index);

// Writes `bytes` as the file `path`, whole or not at all, as every result is
// written: beside the target under a temporary name, every write checked,
// then renamed over it; nothing stands at `path` after a failed write but
// what stood there before. "" when written, else why not, in words.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

// What one save did; `path` is the file written, "" when none.
struct SaveOutcome {
    bool saved = false;
    QString path;
    QString name;
};

// The format entry `sourcePath`'s result is saved in: the request's choice,
// or with "原格式" the source's own ending ("bmp" for any ".bmp" ending,
// else the letters after the last four characters' dot, or all four as in "tiff").
QString resultFormat(const RunRequest& request, const QString& sourcePath);

// The rendered picture of an entry encoded in its result format, with the
// request's JPEG quality. Safe on render threads.
EncodedResult encodeResult(const RunRequest& request, const QString& sourcePath, const QImage& picture);

// Writes an encoded result of entry `index` into the output folder, named as
// outputName says; failures are logged as SaveImg logs them.
SaveOutcome saveEncoded(const RunRequest& request, int index, const QString& sourcePath,
                        const EncodedResult& encoded, SourceGuard& guard, QStringList& errors);

// Encodes the rendered picture of entry `index` in `format` ("jpg", "png",
// "gif", "tiff", "bmp"; case ignored; "jpeg" and "tif" too) into the output
// folder of the request. A failure is logged in `errors` with the source's path. The path comes from the guard: a name that is a source
// picture or was written before in this run gets "_1", "_2"...
SaveOutcome SaveImg(const RunRequest& request, int index, const QString& sourcePath, const QImage& picture,
                    const QString& format, SourceGuard& guard, QStringList& errors);
// The same as a 24-bit bitmap whose name ends in ".bmp".
SaveOutcome SaveBMP(const RunRequest& request, int index, const QString& sourcePath, const QImage& picture,
                    SourceGuard& guard, QStringList& errors);
