#include "engine/fonts/FontProgram.h"

#include "engine/pdf/PdfObjectWriter.h"
#include "engine/util/Ascii85.h"
#include "engine/util/Deflate.h"
#include "engine/util/PdfNumber.h"
#include "engine/util/VumError.h"


namespace vum {

std::string Deflate(const std::string& data)
{
    std::string out;
    if (!DeflateInto(data, out))
        RaiseContextError("Internal error", "compress");
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
