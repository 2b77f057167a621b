// Pictures from files and addresses: stored once per document, then placed.
#include <filesystem>

#include "engine/canvas/VumCanvas.h"
#include "engine/document/PictureHolder.h"
#include "engine/document/VumDocument.h"
#include "engine/recorder/VumRecorder.h"

namespace vum {

void TCustomVumCanvas::StretchDrawFromFile(const TRect& rect, const std::string& fileName)
{
    if (!Guard())
        return;
    std::string name = fileName;
    std::error_code error;
    if (!std::filesystem::is_regular_file(name, error))
        name = Document().DownloadToTempFile(name);
    TCustomVumImage* image = NoImageReuse ? nullptr : FindImageByName(Document(), name);
    if (!image)
        image = &TCustomVumImage::Create(Document(), name);
    DrawImage(rect, *image);
}

void TCustomVumCanvas::DrawImage(const TRect& rect, TCustomVumImage& image)
{
    image.Used = true;
    image.Prepare();
    // By index: the replay draws the picture the first pass encoded.
    if (TCustomVumDocument* recorder = Recording()) {
        recorder->WriteOpcode(opDrawImage);
        recorder->WriteInteger(image.IndexInDocument());
        recorder->WriteRect(rect);
    }
}

} // namespace vum
