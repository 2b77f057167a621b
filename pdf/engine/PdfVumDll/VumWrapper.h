#pragma once

#include "engine/document/PdfVum.h"
#include "engine/util/Geometry.h"
#include "vumpdf.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vum::dll {

// The object behind one handle: the document, the caller's event targets
// and the point buffer of the polygon calls.
class TVumWrapper {
public:
    TVumWrapper(int32_t handle, int32_t wnd, int32_t msgBase);
    ~TVumWrapper();
    TVumWrapper(const TVumWrapper&) = delete;
    TVumWrapper& operator=(const TVumWrapper&) = delete;

    int32_t Handle() const { return handle_; }
    TPdfVum& Document() { return *document_; }

    int32_t GetNumProp(int32_t id);
    void SetNumProp(int32_t id, int32_t value);
    std::string GetStrProp(int32_t id);
    void SetStrProp(int32_t id, const std::string& value);

    // Returns 0, or the event's message number for a null callback.
    int32_t TrapEvent(const std::string& eventName, VumEventCallback callback);
    // Stops all event delivery (used when the library unloads).
    void SuppressEvents() { eventsSuppressed_ = true; }

    std::vector<TPoint> Points;
    int Busy = 0; // calls of this handle in progress

private:
    void DoEvent(int n);

    int32_t handle_;
    int32_t wnd_;
    int32_t msgBase_;
    std::array<VumEventCallback, 5> callbacks_{};   // 1 abort, 2 end, 3 new page, 4 start
    std::array<bool, 12> messageFlags_{};          // 1 to 11
    bool eventsSuppressed_ = false;
    std::unique_ptr<TPdfVum> document_;
};

} // namespace vum::dll
