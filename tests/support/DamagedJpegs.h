#pragma once

#include <string>

// JPEG files that a reader takes only in part or refuses, made at test time
// from what ImageMagick's convert writes. Their noise is seeded: the same
// file every time, so a failure can be repeated.
namespace damagedjpegs {

// A noisy baseline JPEG of `size` ("WxH") cut after half its bytes, as
// `head -c` cuts a download: its upper part decodes, the rest comes out
// grey. Returns its path in `folder`; empty when a tool failed.
std::string cutInHalf(const std::string& folder, const std::string& name, const std::string& size);

// A noisy baseline JPEG of `size` ("WxH") rewritten by jpegtran with one
// scan per component, whose last (Cr) scan is gone and which is closed with
// its end-of-image marker: it decodes without a word from libjpeg into a
// picture with a colour cast. Returns its path in `folder`; empty when a tool
// failed.
std::string withoutLastComponent(const std::string& folder, const std::string& name, const std::string& size);

// A progressive JPEG written by ImageMagick whose last scan is repeated until
// it has `scans` scans: libjpeg reads it, each copy one more pass over the picture.
std::string manyScans(const std::string& folder, const std::string& name, int scans);

} // namespace damagedjpegs
