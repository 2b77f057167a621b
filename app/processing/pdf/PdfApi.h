#pragma once

#include <QString>
#include <cstdint>

// The part of libPDF that the program uses to write the book of a run. Every
// call returns 0 (or the value asked for) on success and -1 on failure, after
// which GetErrorMsg gives the reason. The real implementation loads the
// library on first use; tests use a recording fake.
class PdfApi {
public:
    virtual ~PdfApi() = default;

    virtual int32_t CreateVum(int32_t wnd, int32_t msgBase) = 0;
    virtual int32_t SetNumProp(int32_t h, int32_t id, int32_t value) = 0;
    virtual int32_t SetStrProp(int32_t h, int32_t id, const QString& value) = 0;
    virtual int32_t BeginDoc(int32_t h) = 0;
    virtual int32_t NewPage(int32_t h) = 0;
    virtual int32_t StretchDrawFromFile(int32_t h, int32_t left, int32_t top, int32_t right,
                                        int32_t bottom, const QString& fileName) = 0;
    virtual int32_t DrawText(int32_t h, int32_t left, int32_t top, int32_t right, int32_t bottom,
                             int32_t horzAlign, int32_t vertAlign, const QString& text) = 0;
    virtual int32_t EndDoc(int32_t h) = 0;
    // Closes an open document without finishing it and removes its partial file.
    virtual int32_t Abort(int32_t h) = 0;
    // Frees a document handle; an open document is aborted first.
    virtual int32_t FreeVum(int32_t h) = 0;
    // The message of the last failed call, then forgotten; "" when there is none.
    virtual QString GetErrorMsg() = 0;
};

// Property ids the book sets.
namespace pdfprop {
inline constexpr int32_t FileName = 10;
inline constexpr int32_t FontName = 11;
inline constexpr int32_t Title = 14;
inline constexpr int32_t FontBold = 24;
inline constexpr int32_t FontSize = 28;
inline constexpr int32_t ImageCompressMode = 31;
inline constexpr int32_t WantShow = 44;
inline constexpr int32_t JpegQuality = 45;
inline constexpr int32_t SmartStretchDraw = 46;
inline constexpr int32_t ImageHorzAlign = 51;
inline constexpr int32_t ImageVertAlign = 52;
} // namespace pdfprop
