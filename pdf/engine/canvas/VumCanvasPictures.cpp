// Placeholder until the picture holder provides StretchDrawFromFile.
#include "engine/canvas/VumCanvas.h"
#include "engine/util/VumError.h"

namespace vum {

void TCustomVumCanvas::StretchDrawFromFile(const TRect&, const std::string&)
{
    if (Guard())
        RaiseContextError("Function not available", "pictures");
}

} // namespace vum
