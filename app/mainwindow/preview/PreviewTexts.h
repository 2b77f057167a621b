#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

struct AppState;

// Texts the live preview shows around the picture.
namespace previewtext {

// Status line when the list holds no picture to show.
extern const QString kEmptyList;
// What the description box shows while the picture has no description.
extern const QString kDescriptionHint;

// The information line: file name, natural size when the picture was measured,
// file length in whole kilobytes (remainder dropped), and the double-click hint.
QString infoLine(const QString& path, std::optional<QSize> size, qint64 bytes);

// The information line of an entry that cannot be shown: its file is gone
// (`exists` false) or is no picture that can be read.
QString unreadableLine(const QString& path, bool exists);

// The information line of an entry the pipeline refused, with the reason
// from its error line (the path in front and the line end taken off).
QString refusedLine(const QString& path, const QString& error);

// The status line of a picture shown although a file it is made of (the
// picture, its border, its watermark) was read in part or not at all: the
// render's tips, in place of the information line.
QString troubleLine(const QStringList& tips);

// The window caption: program name, "major.minor" version and the full path;
// behind it kDamagedMark when the picture was read in part.
QString windowCaption(const QString& path, bool damaged = false);
extern const QString kDamagedMark;

// The description box's text: the description, or the hint when it is empty.
QString descriptionText(const QString& description);

// Enter in the description box: the text becomes the description of entry
// `index`. The hint is never stored as a description (it would be printed
// under the picture in the PDF book and the upload page); storing it clears
// the description instead. False when no entry is selected.
bool storeDescription(AppState& st, int index, const QString& text);

} // namespace previewtext
