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

} // namespace imaging
