#pragma once

#include <QString>
#include <cstdint>

class PdfApi;

// A library call that returned -1: the library's message and what it was about
// (the document's file, or the picture whose page was being made).
struct PdfCallFailed {
    QString subject;
    QString message;
};

// The calls on one document, each checked: a call that returns -1 throws
// PdfCallFailed with the library's message.
class PdfCalls {
public:
    explicit PdfCalls(PdfApi& pdf) : pdf_(pdf) {}
    PdfCalls(const PdfCalls&) = delete;
    PdfCalls& operator=(const PdfCalls&) = delete;

    // Names what later failures are about.
    void setSubject(const QString& subject) { subject_ = subject; }

    // Throws on -1; any other result is handed back.
    int32_t CheckPdfResult(int32_t result, const char* call);

    void create();
    void PdfSetNumProp(int32_t id, int32_t value);
    void PdfSetStrProp(int32_t id, const QString& value);
    void beginDoc();
    void newPage();
    void stretchDraw(int32_t left, int32_t top, int32_t right, int32_t bottom, const QString& file);
    void drawText(int32_t left, int32_t top, int32_t right, int32_t bottom, const QString& text);
    void endDoc();

    // Drops an unfinished document and its partial file; failures here are not reported.
    void drop();
    // Frees the document handle, if one was made.
    void release();

private:
    PdfApi& pdf_;
    int32_t handle_ = -1;
    bool open_ = false;
    QString subject_;
};
