#include "engine/security/Rc4.h"

#include <cstdint>
#include <utility>

namespace vum {

std::string Rc4(std::string_view key, std::string_view data)
{
    std::string out(data);
    if (key.empty())
        return out;
    uint8_t s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<uint8_t>(i);
    uint8_t j = 0;
    for (int i = 0; i < 256; ++i) {
        j = static_cast<uint8_t>(j + s[i] + static_cast<uint8_t>(key[size_t(i) % key.size()]));
        std::swap(s[i], s[j]);
    }
    uint8_t a = 0, b = 0;
    for (char& c : out) {
        a = static_cast<uint8_t>(a + 1);
        b = static_cast<uint8_t>(b + s[a]);
        std::swap(s[a], s[b]);
        c = static_cast<char>(static_cast<uint8_t>(c) ^ s[static_cast<uint8_t>(s[a] + s[b])]);
    }
    return out;
}

} // namespace vum
