#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>

namespace imaging {

// Lets the calling thread keep the memory of a decoded picture for the next
// one, up to `maxBytes` (0 stops keeping it and frees what is kept). A worker
// that decodes picture after picture then writes into memory it already has,
// instead of mapping fresh pages and faulting them in for every picture.
void keepDecodeMemory(int64_t maxBytes);

// A picture of `size` and `format` for a decoder to fill: in the memory this
// thread keeps when it fits and no earlier picture still uses it, else a
// fresh one. Null when memory is short.
QImage decodeTarget(QSize size, QImage::Format format);

// Half the memory the machine has free now (MemAvailable; 2 GiB when that
// cannot be read): the rest is for the program itself, the encoders and
// whatever else the machine runs meanwhile.
int64_t freeMemoryShare();

// The most a decoder may take for its own working buffers beside the picture
// it fills (a progressive JPEG keeps every coefficient of the picture): one
// picture may use the whole memory budget of a run, never more. 0, the
// default, stands for freeMemoryShare() at the time of each decode: a run's
// own budget. For the whole process.
void setDecoderMemoryLimit(int64_t bytes);
int64_t decoderMemoryLimit();

} // namespace imaging
