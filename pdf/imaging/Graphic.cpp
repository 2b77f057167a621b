#include "imaging/Graphic.h"

#include "imaging/Stream.h"

namespace vum {

bool TVumGraphic::CanLoad(TStream&)
{
    return false;
}

bool TVumGraphic::CanLoadFile(const std::string& fileName, bool (*canLoad)(TStream&))
{
    TFileStream stream(fileName);
    return canLoad(stream);
}

bool TVumGraphic::ReadImageProperties(TStream&, uint32_t)
{
    ClearProperties();
    return false;
}

void TVumGraphic::Assign(const TBitmap& source)
{
    if (auto* graphic = dynamic_cast<const TVumGraphic*>(&source))
        properties_ = graphic->properties_;
    TBitmap::operator=(source);
}

void TVumGraphic::Progress(TProgressStage stage, int percent, bool redraw, const std::string& message)
{
    if (OnProgress)
        OnProgress(stage, percent, redraw, progressRect_, message);
}

void TVumGraphic::StartProgressRect()
{
    progressRect_ = {0, 0, int32_t(Width()), 1};
}

void TVumGraphic::RowProgress(uint32_t row, uint32_t height)
{
    if (!OnProgress)
        return;
    int percent = height ? int(uint64_t(row) * 100 / height) : 100;
    Progress(TProgressStage::psRunning, percent, true, {});
    progressRect_.top += 1;
    progressRect_.bottom += 1;
}

} // namespace vum
