#include "engine/util/Deflate.h"

#include <zlib.h>

namespace vum {

bool DeflateInto(const std::string& data, std::string& out)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string packed(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
                  static_cast<uLong>(data.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        return false;
    packed.resize(size);
    out = std::move(packed);
    return true;
}

} // namespace vum
