#include "engine/document/VumDocument.h"

#include "engine/canvas/VumCanvas.h"
#include "engine/recorder/VumRecorder.h"
#include "engine/util/Geometry.h"
#include "engine/util/PaperSizes.h"
#include "engine/util/VumError.h"

#include <cstdlib>
#include <filesystem>

namespace vum {

TCustomVum::TCustomVum()
{
    SetLengthUnit(0);
    SetOrientation(0);
    SetPaperSize(DefaultPaperSize());
    nonEmbeddedFonts_ = {"Arial", "Courier New", "Symbol", "Times New Roman"};
}

TCustomVum::~TCustomVum()
{
    // Events must not reach a host whose handle is already gone.
    OnAbort = OnEnd = OnNewPage = OnStart = nullptr;
    try {
        Abort();
    } catch (...) {
    }
    Images.clear();
    DeleteTempFiles();
}

void TCustomVum::SetCanvas(std::unique_ptr<TCustomVumCanvas> canvas)
{
    canvas_ = std::move(canvas);
}

void TCustomVum::RaiseDocumentError(const std::string& message, const std::string& context)
{
    try {
        Abort();
    } catch (...) {
    }
    RaiseContextError(message, context);
}

void TCustomVum::CheckIdle(const std::string& property)
{
    if (printing_)
        RaiseDocumentError("Can't modify property when active", property);
}

void TCustomVum::CheckPageIdle(const std::string& property)
{
    if (printing_)
        RaiseDocumentError("Can't modify property when active", property + " (use NewSection method)");
}

void TCustomVum::SetLengthUnit(uint8_t unit)
{
    CheckIdle("LengthUnit");
    const uint8_t old = lengthUnit_;
    if (unit == 0) {
        pointsPerUnit_ = 72.0 / 254;
        unitsPerTenth_ = 1;
        if (old == 1) {
            pageWidth_ = RoundEven(pageWidth_ * 254.0 / 72);
            pageHeight_ = RoundEven(pageHeight_ * 254.0 / 72);
        }
    } else if (unit == 1) {
        pointsPerUnit_ = 1;
        unitsPerTenth_ = 72.0 / 254;
        if (old == 0) {
            pageWidth_ = RoundEven(pageWidth_ * 72.0 / 254);
            pageHeight_ = RoundEven(pageHeight_ * 72.0 / 254);
        }
    }
    lengthUnit_ = unit;
}

void TCustomVum::SetOrientation(uint8_t orientation)
{
    CheckPageIdle("Orientation");
    if (orientation != orientation_)
        std::swap(pageWidth_, pageHeight_);
    orientation_ = orientation;
}

bool TCustomVum::PageSizeFits(int32_t size) const
{
    constexpr double kMinPoints = 3, kMaxPoints = 14400, kSlack = 1e-6;
    const double points = size * pointsPerUnit_;
    return points >= kMinPoints - kSlack && points <= kMaxPoints + kSlack;
}

void TCustomVum::SetPageWidth(int32_t width)
{
    CheckPageIdle("PageWidth");
    // 0 stays "not set" (BeginDoc names it); what no page can measure is refused now.
    if (width != 0 && !PageSizeFits(width))
        RaiseDocumentError("Invalid property value", "PageWidth");
    pageWidth_ = width;
    paperSize_ = 0;
    paperSizeName_ = "Custom";
}

void TCustomVum::SetPageHeight(int32_t height)
{
    CheckPageIdle("PageHeight");
    if (height != 0 && !PageSizeFits(height))
        RaiseDocumentError("Invalid property value", "PageHeight");
    pageHeight_ = height;
    paperSize_ = 0;
    paperSizeName_ = "Custom";
}

void TCustomVum::SetPaperSize(int index)
{
    CheckPageIdle("PaperSize");
    if (index < 0 || index >= kPaperSizeCount)
        RaiseDocumentError("Invalid property value", "PaperSize");
    const PaperEntry& paper = PaperSizeAt(index);
    paperSizeName_ = paper.name;
    paperSize_ = index;
    const int32_t w = RoundEven(paper.width * unitsPerTenth_);
    const int32_t h = RoundEven(paper.height * unitsPerTenth_);
    pageWidth_ = orientation_ == 0 ? w : h;
    pageHeight_ = orientation_ == 0 ? h : w;
}

void TCustomVum::SetPaperSizeName(const std::string& name)
{
    CheckPageIdle("PaperSizeName");
    const int index = FindPaperSize(name);
    if (index < 1)
        RaiseDocumentError("Invalid property value", "PaperSizeName");
    SetPaperSize(index);
}

void TCustomVum::SetJpegQuality(int32_t quality)
{
    if (quality < 1 || quality > 100)
        RaiseDocumentError("Invalid value for property", "JpegQuality");
    jpegQuality_ = quality;
    if (recorder_) {
        recorder_->WriteOpcode(opJpegQuality);
        recorder_->WriteInteger(quality);
    }
}

void TCustomVum::SetImageCompressMode(uint8_t mode)
{
    // Pages would reference pictures that are never written.
    if (mode > 2)
        RaiseDocumentError("Invalid property value", "ImageCompressMode");
    imageCompressMode_ = mode;
    if (recorder_) {
        recorder_->WriteOpcode(opImageCompressMode);
        recorder_->WriteByte(mode);
    }
}

void TCustomVum::SetSmartStretchDraw(uint8_t v)
{
    smartStretchDraw_ = v;
    if (recorder_) {
        recorder_->WriteOpcode(opSmartStretchDraw);
        recorder_->WriteBoolean(v);
    }
}

void TCustomVum::CreateRecorder()
{
    recorder_ = std::make_unique<TCustomVumDocument>(*this);
}

std::string TCustomVum::TempFolder() const
{
    std::string folder = tempFolder_;
    if (folder.empty()) {
        std::error_code error;
        folder = std::filesystem::temp_directory_path(error).string();
        if (error || folder.empty())
            folder = "/tmp";
    }
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

void TCustomVum::DeleteTempFiles()
{
    for (const auto& file : tempFiles_) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
    tempFiles_.clear();
}

} // namespace vum
