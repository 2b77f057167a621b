#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// Every kind of picture file the picture list accepts, each made at test time
// by ImageMagick or netpbm from one smooth picture with shapes (and, for the
// kinds with alpha, a radial alpha ramp), so that palette dithering, alpha and
// 16-bit samples all show when a reader or resampler gets them wrong.
namespace picturekinds {

// Size of the made pictures; every check draws them smaller.
constexpr int kWidth = 600;
constexpr int kHeight = 400;

struct Kind {
    const char* name;   // also the test's name: letters, digits and "_" only
    const char* file;   // file name; its ending names the format
    const char* kind;   // what kindOf() must find in the made file
};

inline void PrintTo(const Kind& k, std::ostream* os) { *os << k.name; }

const std::vector<Kind>& all();

// Makes `kind` in `folder` and returns its path; empty with `error` set
// when a tool fails. The tools: ImageMagick's convert, identify and compare,
// and netpbm's pnmtopng.
std::string make(const Kind& kind, const std::string& folder, std::string& error);

// make() for a test: the tools present, the file made, and the kind it claims
// really written (tools change what they write); the failure says which went
// wrong. `path` gets the made file.
::testing::AssertionResult makeChecked(const Kind& kind, const std::string& folder, std::string& path);

// What a file really holds: for PNG "png <bit depth> <colour type> <interlace>",
// for BMP "bmp <bits per pixel> <compression>" from their headers; for the
// other formats ImageMagick's "%m %z %C %[colorspace] %[interlace] %A".
std::string kindOf(const std::string& path);

// Root mean square difference, 0 to 1, between a rendered picture and
// ImageMagick's own resize of the source to the same size, its alpha
// composited over white; negative with `error` set when it cannot be measured.
double rmseAgainstMagick(const std::string& rendered, const std::string& source, int width, int height,
                         std::string& error);

} // namespace picturekinds
