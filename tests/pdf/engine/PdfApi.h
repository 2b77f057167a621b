#pragma once

// The library as Vimo sees it: loaded with dlopen from VIMO_BIN_DIR, every
// function bound by name. The header gives only the types.
#include "vumpdf.h"

#include <string>

#define VUM_EXPORTS(X)                                                                             \
    X(CreateVum) X(CreatePdf) X(FreeVum) X(FreePdf) X(BeginDoc) X(EndDoc) X(Abort) X(NewPage)      \
    X(NewSection) X(SetPageNumberFormat) X(SetOwnerPassword) X(SetUserPassword) X(GetNumProp)      \
    X(SetNumProp) X(GetStrProp) X(SetStrProp) X(GetErrorMsg) X(TrapEvent) X(Show) X(ShowDoc)       \
    X(Print) X(PrintDoc) X(EmailDoc) X(MoveTo) X(LineTo) X(Rectangle) X(Ellipse) X(FillRect)       \
    X(FrameRect) X(RoundRect) X(Arc) X(Chord) X(Pie) X(AddPoint) X(Polygon) X(Polyline)            \
    X(PolyBezier) X(PolyBezierTo) X(SetColorEx) X(CopyRect) X(Draw) X(StretchDraw)                 \
    X(DrawFromFile) X(StretchDrawFromFile) X(TextOut) X(TextWidth) X(TextHeight) X(DrawText)       \
    X(DrawPageCounter) X(DrawRichTextFromFile) X(WriteRichText) X(BeginPara) X(AppendPara)         \
    X(AppendTabPara) X(EndPara) X(WritePara) X(AppendLinkPara) X(ParaHeight) X(NameNextPara)       \
    X(DefineStyle) X(LoadStyleSheet) X(StyleParameter) X(DeclareSymbolicFont) X(DefineGrid)        \
    X(DefineCol) X(DrawGrid) X(DrawRow) X(TextToCell) X(CellTextHeight) X(CellX) X(CellY)          \
    X(DefineName) X(SetLink) X(WriteLink) X(SetBookmark) X(WriteBookmark) X(PrintBookMark)         \
    X(Annotation) X(RubberStamp) X(DefineField) X(PutField) X(SetAction) X(SetNumFieldProp)        \
    X(SetStrFieldProp)

struct PdfApi {
    void* library = nullptr;
#define VUM_MEMBER(name) decltype(&::name) name = nullptr;
    VUM_EXPORTS(VUM_MEMBER)
#undef VUM_MEMBER
};

// Loads VIMO_BIN_DIR/libPDF.so once per process and binds all 84 functions;
// aborts the test program when any is missing.
const PdfApi& pdf();

// The library's message of the last failure (read and forgotten).
std::string lastError();

// A document handle that is freed at the end of the scope.
class PdfHandle {
public:
    PdfHandle();
    ~PdfHandle();
    PdfHandle(const PdfHandle&) = delete;
    PdfHandle& operator=(const PdfHandle&) = delete;
    operator int32_t() const { return h_; }
    void setFile(const std::string& path) const;
    void setStr(int32_t id, const std::string& value) const;
    std::string str(int32_t id) const;

private:
    int32_t h_;
};
