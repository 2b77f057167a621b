#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// GIF files written byte by byte, for what no tool writes on request: a
// frame smaller than its logical screen with either colour table left out.
namespace craftedgifs {

// A colour table of four colours given as 0xRRGGBB (a QRgb's colour bytes).
std::string colourTable(std::initializer_list<uint32_t> colours);

// A GIF whose one frame of `frame` x `frame` pixels lies at (`at`, `at`) on a
// `screen` x `screen` logical screen. Either colour table (four colours, see
// colourTable) may be empty, and is then left out. The frame's left half is
// index 0, its right half index 1; the screen's background is index 2.
std::string smallFrame(int screen, int frame, int at, const std::string& screenTable, const std::string& frameTable);

} // namespace craftedgifs
