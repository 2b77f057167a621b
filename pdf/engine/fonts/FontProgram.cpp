#include "engine/fonts/FontProgram.h"

#include "engine/pdf/PdfObjectWriter.h"
#include "engine/util/Ascii85.h"
#include "engine/util/PdfNumber.h"
#include "engine/util/VumError.h"

#include <zlib.h>

namespace vum {

std::string Deflate(const std::string& data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
                  static_cast<uLong>(data.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        RaiseContextError("Internal error", "compress");
    out.resize(size);
    return out;
}

int32_t WriteFontFileObject(PdfObjectWriter& writer, const std::string& font)
{
    const std::string encoded = Ascii85Encode(Deflate(font));
    const int32_t number = writer.BeginObject();
    writer.WriteLine("/Filter[/ASCII85Decode/FlateDecode]");
    writer.WriteLine("/Length " + IntText(static_cast<int64_t>(encoded.size())));
    writer.WriteLine("/Length1 " + IntText(static_cast<int64_t>(font.size())));
    writer.WriteLine(">>");
    writer.WriteStream(encoded);
    return number;
}

} // namespace vum
