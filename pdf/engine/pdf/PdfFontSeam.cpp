// Placeholder until the font engine provides CurrentPdfFont.
#include "engine/pdf/PdfCanvas.h"
#include "engine/util/VumError.h"

namespace vum {

PdfFontResource& TPdfCanvas::CurrentPdfFont()
{
    RaiseContextError("Function not available", "fonts");
}

} // namespace vum
