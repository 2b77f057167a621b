#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "mainwindow/preview/MarkScene.h"
#include "mainwindow/preview/RenderKey.h"
#include "processing/FileStamp.h"
#include "processing/RenderPicture.h"
#include "processing/SourceCache.h"

struct AppState;

// Sizes of the preview's frames in the window, in pixels.
struct PreviewLayout {
    QSize area;            // the preview area the processed picture is fitted into
    QSize thumbnailFrame;  // the frame of the source thumbnail
    QSize neighbourBox;    // the previous and next thumbnails are decoded to fit into it
};

// Everything the window shows after a redraw of the selected entry.
struct PreviewFrame {
    enum class Outcome {
        EmptyList,    // the list has no picture: a notice is in the status line, nothing else changes
        NoSelection,  // no entry selected: hide and clear the preview
        Unreadable,   // the file is gone or is no picture: the status line says so; clear the
                      // preview and the thumbnail, show `caption` and `description`
        Shown,        // fill every part below
    };
    Outcome outcome = Outcome::EmptyList;
    QImage thumbnail;         // the untouched source; null for a PNG or TIFF entry
    QRect thumbnailRect;      // its place inside the thumbnail frame
    QImage picture;           // the processed picture at full size (stretched into pictureRect)
    QRect pictureRect;        // its place inside the preview area; empty when there is no picture
    QString description;      // the description box's text
    QString caption;          // the window caption; it marks a picture read in part
    QImage previous, next;    // neighbour thumbnails; null shows an empty image
    QStringList errors;       // what the pipeline found wrong with this picture
};

// The live preview of the selected list entry: renders it through the same
// pipeline as a batch run, so the preview is what will be saved, and works
// out every text and place the window shows. It keeps the last processed
// picture, which stays shown while rendering is switched off.
//
// It keeps what it decoded for the picture shown: the source (the pipeline's
// decode, which the thumbnail is drawn from too) and the rendered result. A
// redraw with the same entry, the same files on disk and the same settings
// (a resize, a dialog given up) draws from them without reading anything; a
// new setting renders again from the kept source. Only the shown picture's
// source and result are kept, and the neighbours' small thumbnails.
class LivePreview {
public:
    explicit LivePreview(AppState& st) : st_(st) {}

    // Redraws entry `index`: the information line goes to the status line,
    // the entry becomes the current picture file, and the frame says what
    // to show.
    PreviewFrame redraw(int index, const PreviewLayout& layout);

    // The processed picture at full size as last rendered.
    const QImage& workPicture() const { return picture_; }
    // The marker's view of the last redraw.
    MarkScene markScene() const;
    // Whether the last redraw put what is wrong with the entry (a file that
    // cannot be read or was read in part) into the status line.
    bool troubleSaid() const { return troubleSaid_; }
    // What the last redraw put into the status line about the entry: its
    // information line, or what is wrong with it; empty when it said nothing.
    const QString& pictureLine() const { return line_; }
    // Lets every kept picture go, when the window shows none any more.
    void forget();

private:
    // Shows a line about the entry and keeps it for pictureLine().
    void say(const QString& line);
    // The entry rendered with the settings as they stand: the kept result
    // when nothing it depends on changed.
    const RenderResult& render(const QString& path);
    // The source thumbnail, drawn from the kept source (decoded for it when
    // the pipeline decoded nothing); null when the picture does not decode.
    QImage thumbnail(const QString& path, const imaging::PictureProbe& probe, QSize box);
    QImage neighbour(int index, QSize box);

    // A thumbnail made for a file in a state on disk, at a box size.
    struct Thumb {
        QString path;
        FileStamp stamp;
        QSize box;
        QImage image;
    };
    struct Shown {
        RenderKey key;
        RenderResult result;
    };

    AppState& st_;
    SourceCache sources_;
    std::optional<Shown> shown_;
    std::optional<Thumb> thumb_;
    std::vector<Thumb> neighbours_;
    QImage picture_;
    QRect pictureRect_;
    QSizeF textExtent_;
    bool troubleSaid_ = false;
    QString line_;
};
