#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// A picture uploaded in a run: its web address and the description its entry
// had, kept together so a failed upload shifts nothing.
struct UploadedPicture {
    QString url;
    QString description;
};

// What a run has done so far, kept by the run itself: its results, uploads
// and error lines. The end of the run (book, page, error log) reads it.
struct RunOutcome {
    std::vector<QString> results;           // file saved for each entry of the request; "" when none
    std::vector<UploadedPicture> uploaded;  // in upload order
    QStringList errors;                     // error-log lines, each ending in CR LF
    int saved = 0;                          // results written
    bool stopped = false;                   // the user stopped the run before its end

    void log(const QString& line) { errors << line; }
    void log(const QStringList& lines) { errors << lines; }
    bool hasErrors() const { return !errors.isEmpty(); }
    // The error-log text: the header line and every error line.
    QString errorLog() const;
};
