#pragma once

#include <string>

// GIF files whose data ends early, made at test time from what ImageMagick's
// convert writes.
namespace damagedgifs {

// A noisy GIF of `size` ("WxH") cut after half its bytes, as `head -c` cuts
// a download: its upper rows decode, the rest comes out grey. The noise is
// the same every time. Returns its path in `folder`; empty when a tool failed.
std::string cutInHalf(const std::string& folder, const std::string& name, const std::string& size);

} // namespace damagedgifs
