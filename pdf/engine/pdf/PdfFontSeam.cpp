// Where the page writer meets the font engine.
#include "engine/fonts/PdfTextFonts.h"
#include "engine/pdf/PdfCanvas.h"

namespace vum {

PdfTextFonts& TPdfCanvas::TextFonts()
{
    if (!textFonts_)
        textFonts_ = std::make_shared<PdfTextFonts>(*this);
    return *textFonts_;
}

PdfFontResource& TPdfCanvas::CurrentPdfFont()
{
    return TextFonts().Primary(Font);
}

} // namespace vum
