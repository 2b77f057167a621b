#pragma once

#include <QString>
#include <cstdint>

// Run-time errors a stage can meet, with the numbers and descriptions the
// error log shows for them.
enum class RunError {
    None = 0,
    DivisionByZero = 11,
    OutOfMemory = 7,
    FileNotFound = 53,
    PathNotFound = 76,
    InvalidPicture = 481,
};

int errorNumber(RunError e);
QString errorDescription(RunError e);

// A path or name as the error log shows it. A file name may hold any
// character but "/" and NUL: its line feeds and other control characters
// are written as escapes ("\n", "\r", "\t", "\xHH") so that no name can
// start a line of its own in the log.
QString loggedName(const QString& name);

// Why the system refused to write or read, in words, for the error number
// (errno) it gave; the system's own text for numbers without words of ours.
QString systemErrorText(int errnum);

// One line of the run's error log: the source path (as loggedName shows it), the stage's message, the
// error's number, ")", its description, "。" and CR LF. `head` carries what
// goes between the path and the number.
QString errorLine(const QString& path, const QString& head, RunError e, const QString& detail);

// The detail of a picture or canvas refused for its size: "图片太大: W x H"
// and the limit it passed.
QString tooLargeText(int64_t width, int64_t height, int64_t maxPixels);
// The same for a picture whose decoder would need `bytes` of buffers of its
// own: "图片太大: W x H", the megabytes and the limit they passed.
QString tooLargeToDecodeText(int64_t width, int64_t height, int64_t bytes, int64_t maxBytes);
