#pragma once

#include <cstdint>
#include <string>

namespace vum {

class PdfObjectWriter;

// Writes a TrueType file as a /FontFile2 stream object: deflated, then
// ASCII85-encoded, with /Length1 the size of the font itself. Returns the
// object's number.
int32_t WriteFontFileObject(PdfObjectWriter& writer, const std::string& font);

// zlib deflate at the default level.
std::string Deflate(const std::string& data);

} // namespace vum
