#pragma once

#include <cstdint>
#include <string>

namespace vum {

struct PaperEntry {
    const char* name;
    int32_t width;  // tenths of a millimetre, portrait
    int32_t height;
};

constexpr int kPaperSizeCount = 42; // indexes 0 (Custom) to 41

const PaperEntry& PaperSizeAt(int index);

// First index from 1 whose name matches ignoring case; -1 when none.
int FindPaperSize(const std::string& name);

// The paper of the user's locale: Letter (1) where the locale's paper is
// Letter-sized, else A4 (9).
int DefaultPaperSize();

} // namespace vum
