#include "processing/pdf/PdfCalls.h"

#include "processing/pdf/PdfApi.h"

namespace {
constexpr int32_t kCentre = 2;
}

int32_t PdfCalls::CheckPdfResult(int32_t result, const char* call)
{
    if (result != -1)
        return result;
    QString message = pdf_.GetErrorMsg();
    if (message.isEmpty())
        message = QStringLiteral("PDF库函数 %1 调用失败。").arg(QString::fromLatin1(call));
    throw PdfCallFailed{subject_, message};
}

void PdfCalls::create()
{
    // No window receives the library's event messages here.
    handle_ = CheckPdfResult(pdf_.CreateVum(0, 0), "CreateVum");
}

void PdfCalls::PdfSetNumProp(int32_t id, int32_t value)
{
    CheckPdfResult(pdf_.SetNumProp(handle_, id, value), "SetNumProp");
}

void PdfCalls::PdfSetStrProp(int32_t id, const QString& value)
{
    CheckPdfResult(pdf_.SetStrProp(handle_, id, value), "SetStrProp");
}

void PdfCalls::beginDoc()
{
    CheckPdfResult(pdf_.BeginDoc(handle_), "BeginDoc");
    open_ = true;
}

void PdfCalls::newPage()
{
    CheckPdfResult(pdf_.NewPage(handle_), "NewPage");
}

void PdfCalls::stretchDraw(int32_t left, int32_t top, int32_t right, int32_t bottom, const QString& file)
{
    CheckPdfResult(pdf_.StretchDrawFromFile(handle_, left, top, right, bottom, file), "StretchDrawFromFile");
}

void PdfCalls::drawText(int32_t left, int32_t top, int32_t right, int32_t bottom, const QString& text)
{
    CheckPdfResult(pdf_.DrawText(handle_, left, top, right, bottom, kCentre, kCentre, text), "DrawText");
}

void PdfCalls::endDoc()
{
    CheckPdfResult(pdf_.EndDoc(handle_), "EndDoc");
    open_ = false;
}

void PdfCalls::drop()
{
    if (!open_)
        return;
    if (pdf_.Abort(handle_) == -1)
        pdf_.GetErrorMsg();
    open_ = false;
}

void PdfCalls::release()
{
    if (handle_ == -1)
        return;
    if (pdf_.FreeVum(handle_) == -1)
        pdf_.GetErrorMsg();
    handle_ = -1;
}
