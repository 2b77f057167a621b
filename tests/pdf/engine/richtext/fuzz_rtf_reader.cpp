// Feeds arbitrary bytes to the rich text reader: it may refuse them, never
// crash, hang or run out of memory.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/richtext/RtfDocument.h"
#include "engine/util/VumError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Most inputs would be refused at the first bytes: start them as rich text.
    std::string source = "{\\rtf1\\";
    source.append(reinterpret_cast<const char*>(data), size);
    try {
        const vum::RtfDocument doc = vum::ReadRtf(source);
        size_t total = 0;
        for (const auto& p : doc.Paragraphs)
            for (const auto& r : p.Runs)
                total += r.Text.size();
        (void)total;
    } catch (const vum::VumError&) {
    }
    return 0;
}
