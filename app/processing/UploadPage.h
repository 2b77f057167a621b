#pragma once

#include <QString>
#include <QStringList>

struct RunOutcome;
struct RunRequest;

// The page of the pictures uploaded in this run, as the lines of
// "PicURL.htm": a charset line, the guide line, then per picture the img
// line, the address line and the description line as the page switches of
// the request and the description ask. Addresses are quoted and, like
// descriptions, HTML-escaped.
QStringList uploadPageLines(const RunRequest& request, const RunOutcome& outcome);

// What funCreateHtm wrote.
struct UploadPageWrites {
    bool page = false;  // "PicURL.htm" stands as this run wrote it
    bool list = false;  // every address reached "picUpload.dat"
    bool all() const { return page && list; }
};

// Writes "PicURL.htm" into the output folder (UTF-8, CR LF, replaced whole)
// and adds every address to "picUpload.dat" in `userDir` by writing that
// list anew with its old lines, each file through the checked write of the
// results (whole or not at all). A file that
// cannot be written is logged in the run's outcome.
UploadPageWrites funCreateHtm(const RunRequest& request, RunOutcome& outcome, const QString& userDir);
