#include "engine/pdf/PdfFileIdentifier.h"

#include "engine/util/Clock.h"

#include <chrono>
#include <cstdint>
#include <unistd.h>

namespace vum {

namespace {

uint64_t Fnv1a(const std::string& text, uint64_t hash)
{
    for (const unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

} // namespace

std::string MakeFileIdentifier(const std::string& fileName)
{
    static uint64_t counter = 0;
    const auto now = Now().time_since_epoch().count();
    const std::string seed = fileName + "|" + std::to_string(now) + "|" +
                             std::to_string(::getpid()) + "|" + std::to_string(++counter);
    const uint64_t a = Fnv1a(seed, 0xcbf29ce484222325ULL);
    const uint64_t b = Fnv1a(seed + "#", a ^ 0x9e3779b97f4a7c15ULL);
    static const char* const hex = "0123456789abcdef";
    std::string id;
    for (const uint64_t part : {a, b})
        for (int shift = 60; shift >= 0; shift -= 4)
            id += hex[(part >> shift) & 0xF];
    return id;
}

} // namespace vum
