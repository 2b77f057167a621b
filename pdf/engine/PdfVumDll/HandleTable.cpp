#include "engine/PdfVumDll/CallFrame.h"
#include "engine/canvas/VumCanvas.h"
#include "engine/util/Geometry.h"

#include <climits>

#include <map>
#include <memory>

namespace vum::dll {

namespace {

// Live handle objects by id. Ids only grow, so a freed handle can never
// name a newer document.
class LiveHandles {
public:
    ~LiveHandles()
    {
        // The library is going away: close every document, newest first,
        // deleting partial files, without calling back into the host.
        while (!table_.empty()) {
            auto last = std::prev(table_.end());
            std::unique_ptr<TVumWrapper> wrapper = std::move(last->second);
            table_.erase(last);
            wrapper->SuppressEvents();
            wrapper.reset();
        }
    }

    int32_t Add(int32_t wnd, int32_t msgBase)
    {
        if (nextId_ == INT32_MAX)
            throw VumError("Out of memory");
        const int32_t id = nextId_++;
        table_.emplace(id, std::make_unique<TVumWrapper>(id, wnd, msgBase));
        return id;
    }

    TVumWrapper* Find(int32_t id)
    {
        const auto it = table_.find(id);
        return it == table_.end() ? nullptr : it->second.get();
    }

    void Remove(int32_t id)
    {
        const auto it = table_.find(id);
        if (it == table_.end())
            return;
        // Dead before it is destroyed: nothing reached during destruction
        // can find it again.
        std::unique_ptr<TVumWrapper> wrapper = std::move(it->second);
        table_.erase(it);
        wrapper.reset();
    }

private:
    std::map<int32_t, std::unique_ptr<TVumWrapper>> table_;
    int32_t nextId_ = 1;
};

LiveHandles g_handles;
std::string g_lastErrorMsg;

} // namespace

TVumWrapper& CheckVumHandle(int32_t h)
{
    TVumWrapper* wrapper = g_handles.Find(h);
    if (!wrapper)
        throw VumError("Bad Vum handle");
    return *wrapper;
}

int32_t CreateHandle(int32_t wnd, int32_t msgBase)
{
    // Event numbers are msgBase + 1024 + n (n up to 11): they must stay numbers.
    if (msgBase > INT32_MAX - 2048)
        RaiseContextError("Bad parameters for method", "CreateVum");
    return g_handles.Add(wnd, msgBase);
}

void FreeHandle(int32_t h)
{
    TVumWrapper& wrapper = CheckVumHandle(h);
    if (wrapper.Busy > 0)
        RaiseContextError("Can't edit document now", "FreeVum");
    g_handles.Remove(h);
}

void StoreErrorMsg(const std::string& message)
{
    g_lastErrorMsg = message;
}

std::string TakeErrorMsg()
{
    std::string message;
    message.swap(g_lastErrorMsg);
    return message;
}

void CopyOut(const std::string& text, char* buffer)
{
    if (!buffer)
        return;
    size_t length = std::min<size_t>(text.size(), 255);
    // Step back over continuation bytes so no character is cut in half.
    if (length < text.size())
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    text.copy(buffer, length);
    buffer[length] = '\0';
}

void CheckCoordinates(TVumWrapper& w, const char* method, std::initializer_list<int64_t> values)
{
    for (const int64_t v : values)
        if (!WithinCoordinates(v))
            w.Document().Canvas().RaiseMethodError("Bad parameters for method", method);
}

} // namespace vum::dll
