#include "engine/PdfVumDll/VumWrapper.h"

#include "engine/util/TextLists.h"
#include "engine/util/VumError.h"

namespace vum::dll {

namespace {
constexpr std::array<const char*, 11> kEventNames{
    "ONABORT", "ONEND", "ONNEWPAGE", "ONSTART", "ONANNOTATION", "ONCLOSEDISPLAY",
    "ONDISPLAY", "ONHYPERLINK", "ONPAGEDISPLAY", "ONTOOLBARCHANGE", "ONTOOLCLICK"};
}

TVumWrapper::TVumWrapper(int32_t handle, int32_t wnd, int32_t msgBase)
    : handle_(handle), wnd_(wnd), msgBase_(msgBase), document_(std::make_unique<TPdfVum>())
{
    document_->OnAbort = [this] { DoEvent(1); };
    document_->OnEnd = [this] { DoEvent(2); };
    document_->OnNewPage = [this] { DoEvent(3); };
    document_->OnStart = [this] { DoEvent(4); };
}

TVumWrapper::~TVumWrapper()
{
    eventsSuppressed_ = true;
    document_.reset();
}

void TVumWrapper::DoEvent(int n)
{
    if (eventsSuppressed_)
        return;
    if (callbacks_[static_cast<size_t>(n)])
        callbacks_[static_cast<size_t>(n)](handle_);
    // Window messages (msgBase + 1024 + n to wnd_) have no receiver on this
    // platform; the flag is kept so TrapEvent answers as the caller expects.
}

int32_t TVumWrapper::TrapEvent(const std::string& eventName, VumEventCallback callback)
{
    const std::string name = AsciiUpper(eventName);
    for (size_t i = 0; i < kEventNames.size(); ++i) {
        if (name != kEventNames[i])
            continue;
        const size_t n = i + 1;
        if (callback) {
            if (n <= 4)
                callbacks_[n] = callback;
            return 0;
        }
        messageFlags_[n] = true;
        return msgBase_ + 1024 + static_cast<int32_t>(n);
    }
    throw VumError("Bad event name: " + name);
}

} // namespace vum::dll
