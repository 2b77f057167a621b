#pragma once

// Common base of the library's own picture readers: a bitmap with a colour
// manager, the properties read from the file's header, and progress reports.
#include <functional>
#include <string>

#include "imaging/Bitmap.h"
#include "imaging/ColorManager.h"
#include "imaging/ImageProperties.h"

namespace vum {

class TStream;

enum class TProgressStage { psStarting, psRunning, psEnding };

struct TProgressRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// stage, percentage, redraw, the rows converted so far, message
using TProgressEvent =
    std::function<void(TProgressStage, int, bool, const TProgressRect&, const std::string&)>;

class TVumGraphic : public TBitmap {
public:
    TVumGraphic() = default;

    // Whether the reader can read the stream from its current position; the position is kept.
    // (Each reader has a static CanLoad of its own; this base answers false.)
    static bool CanLoad(TStream& stream);
    static bool CanLoadFile(const std::string& fileName, bool (*canLoad)(TStream&));

    // Clears the properties and fills them from the header at the stream's position.
    virtual bool ReadImageProperties(TStream& stream, uint32_t imageIndex);

    // Copies the properties when the source is also one of ours, then the bitmap.
    void Assign(const TBitmap& source);

    const TImageProperties& ImageProperties() const { return properties_; }
    TColorManager& ColorManager() { return colorManager_; }

    // Optional; called with the three stages while a picture loads.
    TProgressEvent OnProgress;

protected:
    void ClearProperties() { properties_ = TImageProperties{}; }
    void Progress(TProgressStage stage, int percent, bool redraw, const std::string& message);
    // A stage-1 report after a converted row, moving the progress rectangle down.
    void RowProgress(uint32_t row, uint32_t height);
    void StartProgressRect();

    TColorManager colorManager_;
    TImageProperties properties_;
    uint64_t basePosition_ = 0;
    TStream* stream_ = nullptr;
    TProgressRect progressRect_;
};

// Reports the end of a phase on every way out of it.
class TProgressPhase {
public:
    TProgressPhase(std::function<void()> end) : end_(std::move(end)) {}
    ~TProgressPhase() { finish(); }
    TProgressPhase(const TProgressPhase&) = delete;
    TProgressPhase& operator=(const TProgressPhase&) = delete;
    void finish()
    {
        if (end_) {
            auto end = std::move(end_);
            end_ = nullptr;
            end();
        }
    }

private:
    std::function<void()> end_;
};

} // namespace vum
