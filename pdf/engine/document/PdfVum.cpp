#include "engine/document/PdfVum.h"

#include "engine/pdf/PdfCanvas.h"

namespace vum {

TPdfVum::TPdfVum()
{
    SetCanvas(std::make_unique<TPdfCanvas>(*this));
}

TPdfVum::~TPdfVum()
{
    OnAbort = OnEnd = OnNewPage = OnStart = nullptr;
    // Close while the PDF canvas still exists; the base would only see its base part.
    try {
        Abort();
    } catch (...) {
    }
}

TPdfCanvas& TPdfVum::PdfCanvas() const
{
    return static_cast<TPdfCanvas&>(Canvas());
}

} // namespace vum
