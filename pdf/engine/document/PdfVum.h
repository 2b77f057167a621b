#pragma once

#include "engine/document/VumDocument.h"

namespace vum {

class TPdfCanvas;

// The document component whose drawing surface writes PDF.
class TPdfVum : public TCustomVum {
public:
    TPdfVum();
    ~TPdfVum() override;
    TPdfCanvas& PdfCanvas() const;
};

} // namespace vum
