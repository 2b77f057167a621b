#pragma once

class BatchRun;
class PdfApi;
class Prompter;

// Makes the run's end write the book through `pdf` (libPDF by default) when
// the PDF switch is on, yielding to the window as the run does. Without
// `show` the finished book is not opened for the user.
void attachPdfBook(BatchRun& run, Prompter& prompter, PdfApi* pdf = nullptr,
                   bool show = true);
