// Named targets, links, the outline tree, notes and stamps: the checks the
// drawing surface makes before a back end writes them.
#include "engine/canvas/VumCanvas.h"

#include "engine/document/VumDocument.h"
#include "engine/paragraph/ParaStyle.h"
#include "engine/recorder/VumRecorder.h"
#include "engine/util/PdfNumber.h"

namespace vum {

namespace {
constexpr int kIconCount = 6;
constexpr int kStampCount = 14;
} // namespace

void TCustomVumCanvas::DefineName(int32_t x, int32_t y, const std::string& name)
{
    if (!Guard())
        return;
    if (definedNames_.count(name) != 0)
        RaiseMethodError("Duplicate name", name);
    vum::Paragraphs(*this).NextParaName.clear();
    if (TCustomVumDocument* recorder = Recording()) {
        recorder->WriteOpcode(opDefineName);
        recorder->WriteIntegers({x, y});
        recorder->WriteString(name);
    }
}

void TCustomVumCanvas::AddNameTarget(std::unique_ptr<TCustomNameTarget> target)
{
    const std::string name = target->Name;
    definedNames_.emplace(name, std::move(target));
}

void TCustomVumCanvas::SetLink(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const std::string& destination)
{
    if (!Guard())
        return;
    if (TCustomVumDocument* recorder = Recording()) {
        recorder->WriteOpcode(opSetLink);
        recorder->WriteIntegers({x1, y1, x2, y2});
        recorder->WriteString(destination);
    }
}

std::unique_ptr<TCustomVumBookmark> TCustomVumCanvas::CreateBookmark(TCustomVumBookmark& parent, int32_t x,
                                                                     int32_t y, const std::string& title, bool open)
{
    return std::make_unique<TCustomVumBookmark>(&parent, TCustomTarget{document_.PageNumber(), x, y}, title, open);
}

void TCustomVumCanvas::SetBookmark(int32_t x, int32_t y, const std::string& title, int32_t level, bool open)
{
    if (!Guard())
        return;
    if (level <= 0)
        RaiseMethodError("Bad bookmark level", IntText(level));
    // lastAtLevel_[n] is the newest entry of level n (the root at 0): a new
    // entry goes under the newest one of the level above, so an entry may
    // rise by any number of levels but go only one deeper.
    if (lastAtLevel_.empty())
        lastAtLevel_.push_back(&bookmarkRoot_);
    if (size_t(level) > lastAtLevel_.size())
        RaiseMethodError("Bad bookmark level");
    TCustomVumBookmark* parent = lastAtLevel_[size_t(level) - 1];
    parent->Children.push_back(CreateBookmark(*parent, x, y, title, open));
    lastAtLevel_.resize(size_t(level));
    lastAtLevel_.push_back(parent->Children.back().get());
    if (TCustomVumDocument* recorder = Recording()) {
        recorder->WriteOpcode(opSetBookmark);
        recorder->WriteIntegers({x, y});
        recorder->WriteString(title);
        recorder->WriteInteger(level);
        recorder->WriteBoolean(open ? 1 : 0);
    }
}

void TCustomVumCanvas::Annotation(int32_t x, int32_t y, const std::string& text, int icon)
{
    if (!Guard())
        return;
    if (icon < 0 || icon >= kIconCount)
        RaiseMethodError("Bad parameters for method", "Annotation (icon " + IntText(icon) + ")");
    if (TCustomVumDocument* recorder = Recording()) {
        recorder->WriteOpcode(opAnnotation);
        recorder->WriteIntegers({x, y});
        recorder->WriteString(text);
        recorder->WriteByte(static_cast<uint8_t>(icon));
    }
}

void TCustomVumCanvas::RubberStamp(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const std::string& text, int stamp)
{
    if (!Guard())
        return;
    if (stamp < 0 || stamp >= kStampCount)
        RaiseMethodError("Bad parameters for method", "RubberStamp (stamp " + IntText(stamp) + ")");
    if (TCustomVumDocument* recorder = Recording()) {
        recorder->WriteOpcode(opRubberStamp);
        recorder->WriteIntegers({x1, y1, x2, y2});
        recorder->WriteString(text);
        recorder->WriteByte(static_cast<uint8_t>(stamp));
    }
}

void TCustomVumCanvas::SplitBraced(const std::string& text, std::string& prefix, std::string& rest)
{
    prefix.clear();
    rest = text;
    if (text.rfind("{{", 0) == 0) {
        rest = text.substr(1);
        return;
    }
    const size_t close = text.find('}');
    if (!text.empty() && text[0] == '{' && close != std::string::npos) {
        prefix = text.substr(1, close - 1);
        rest = text.substr(close + 1);
    }
}

void TCustomVumCanvas::ClearNavigation()
{
    definedNames_.clear();
    referencedNames_.clear();
    lastAtLevel_.clear();
    bookmarkRoot_.Children.clear();
}

} // namespace vum
