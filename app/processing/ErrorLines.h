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

// One line of the run's error log: the source path, the stage's message, the
// error's number, ")", its description, "。" and CR LF. `head` carries what
// goes between the path and the number.
QString errorLine(const QString& path, const QString& head, RunError e, const QString& detail);

// The detail of a picture or canvas refused for its size: "图片太大: W x H"
// and the limit it passed.
QString tooLargeText(int64_t width, int64_t height, int64_t maxPixels);
