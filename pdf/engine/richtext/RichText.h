#pragma once

#include <cstdint>
#include <string>

namespace vum {

class TCustomVumCanvas;

// Rich text (source beginning "{\rtf" and a version number, or the name or address of a rich
// or plain text file) flowed through the paragraph engine from the current
// position, each run of uniform attributes in a working style "$" based on
// `style`. Stops at the first run that does not fit.
void WriteRichText(TCustomVumCanvas& canvas, const std::string& text, const std::string& style);

// The rich text of a file laid out inside the rectangle (y2 0: the page
// bottom), without page feeds. 1 when all of it fitted and was drawn; 0
// when it did not fit, and then nothing is drawn and CurrentY is unchanged.
int32_t DrawRichTextFromFile(TCustomVumCanvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                             const std::string& fileName);

} // namespace vum
