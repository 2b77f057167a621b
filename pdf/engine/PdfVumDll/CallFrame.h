#pragma once

#include "engine/PdfVumDll/VumWrapper.h"
#include "engine/util/VumError.h"

#include <exception>
#include <initializer_list>
#include <new>
#include <string>

namespace vum::dll {

// The handle object of h; "Bad Vum handle" for anything else, freed
// handles included (ids are never reused).
TVumWrapper& CheckVumHandle(int32_t h);

int32_t CreateHandle(int32_t wnd, int32_t msgBase);
void FreeHandle(int32_t h);

void StoreErrorMsg(const std::string& message);
// Copies the text with its terminating zero, at most 255 bytes of text, cut
// on a UTF-8 character boundary. A null buffer receives nothing.
void CopyOut(const std::string& text, char* buffer);
std::string TakeErrorMsg();

inline std::string Text(const char* p) { return p ? std::string(p) : std::string(); }
inline bool Flag(int32_t v) { return (v & 0xFF) != 0; }
inline uint8_t Byte(int32_t v) { return static_cast<uint8_t>(v & 0xFF); }

// Positions and lengths beyond any page are refused with "Bad parameters for
// method" (aborting an open document, as method errors do).
void CheckCoordinates(TVumWrapper& w, const char* method, std::initializer_list<int64_t> values);

// Every failure becomes -1 and a stored message; nothing thrown leaves.
template <class F>
int32_t Guarded(F&& body) noexcept
{
    try {
        return body();
    } catch (const VumError& error) {
        StoreErrorMsg(error.what());
    } catch (const std::bad_alloc&) {
        StoreErrorMsg("Out of memory");
    } catch (const std::exception& error) {
        StoreErrorMsg(std::string("Internal error: ") + error.what());
    } catch (...) {
        StoreErrorMsg("Internal error");
    }
    return -1;
}

// The call frame of an export that takes a handle: check it, run the body
// with the handle object, turn every failure into -1.
template <class F>
int32_t WithHandle(int32_t h, F&& body) noexcept
{
    return Guarded([&]() -> int32_t {
        TVumWrapper& wrapper = CheckVumHandle(h);
        ++wrapper.Busy;
        struct Leave {
            TVumWrapper& w;
            ~Leave() { --w.Busy; }
        } leave{wrapper};
        return body(wrapper);
    });
}

// The same for procedures: 0 on success.
template <class F>
int32_t Procedure(int32_t h, F&& body) noexcept
{
    return WithHandle(h, [&](TVumWrapper& w) -> int32_t {
        body(w);
        return 0;
    });
}

} // namespace vum::dll
