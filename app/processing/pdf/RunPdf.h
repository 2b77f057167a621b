#pragma once

#include <QString>
#include <functional>

struct RunOutcome;
struct RunRequest;
class PdfApi;
class Prompter;

// What the book of a run came to.
struct PdfBookResult {
    QString file;   // the document's path (also when it could not be written)
    bool written = false;
    int pictures = 0;  // picture pages in the document
};

// The document's file: the output folder, the title and ".pdf". A title that
// cannot stand as a file name (empty, "." or "..", or holding a "/") is made
// into one; a long one is shortened so the name fits the file system.
QString pdfBookFileName(const QString& outDir, const QString& title);

// The book of a run: a title page, one page per picture the run saved (in
// list order, failed entries skipped) with its description under it, and a
// closing page with the signature and the date, all as the request holds
// them. The library opens the finished file for the user. A library call that
// fails shows the library's message, drops the document and logs the failure
// in the run's outcome; the caller's end of the run goes on either way. `yield` runs after every picture page (the event loop
// by default). Without `show` the finished file is not opened (runs without a user).
// `claim`, when given, turns the document's path into the one to write (the
// run's guard against overwriting its sources and its own files).
PdfBookResult funCreatePdf(const RunRequest& request, RunOutcome& outcome, PdfApi& pdf, Prompter& prompter,
                           const std::function<void()>& yield = {}, bool show = true,
                           const std::function<QString(const QString&)>& claim = {});
