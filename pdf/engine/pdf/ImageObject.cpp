// Placing stored pictures on the page and writing them as image XObjects.
#include "engine/document/PictureHolder.h"
#include "engine/pdf/PdfCanvas.h"
#include "engine/util/PdfNumber.h"

namespace vum {

void TPdfCanvas::DrawImage(const TRect& rect, TCustomVumImage& image)
{
    TCustomVumCanvas::DrawImage(rect, image);
    if (image.Width == 0 || image.Height == 0)
        return;
    const TRect r = ImageRect(rect, image.Width, image.Height);
    ContentLines.push_back("q");
    ContentLines.push_back(Len(double(r.Right) - r.Left - 1) + " 0 0 " + Len(double(r.Bottom) - r.Top - 1) + " " +
                           X(r.Left) + " " + Y(r.Bottom) + " cm");
    ContentLines.push_back("/" + image.Name + " Do");
    ContentLines.push_back("Q");
    image.WriteObject(writer_);
}

void TCustomVumImage::WriteObject(PdfObjectWriter& writer)
{
    if (objectNumber_ > 0)
        return;
    TakeBackKept();
    if (Data.empty())
        return;
    objectNumber_ = writer.BeginObject("<<");
    writer.WriteLine("/Type/XObject");
    writer.WriteLine("/Subtype/Image");
    writer.WriteLine("/Width " + IntText(Width));
    writer.WriteLine("/Height " + IntText(Height));
    writer.WriteLine(Components == 1 ? "/ColorSpace/DeviceGray"
                     : Components == 4 ? "/ColorSpace/DeviceCMYK" : "/ColorSpace/DeviceRGB");
    writer.WriteLine("/BitsPerComponent " + IntText(BitsPerComponent));
    if (Components == 4 && InvertedCmyk)
        writer.WriteLine("/Decode[1 0 1 0 1 0 1 0]");
    writer.WriteLine("/Length " + IntText(int64_t(Data.size())));
    writer.WriteLine(std::string("/Filter[/ASCII85Decode") +
                     (Compression == ZlibCompression ? "/FlateDecode"
                      : Compression == JpegCompression ? "/DCTDecode" : "") + "]");
    writer.WriteLine(">>");
    writer.WriteStream(Data);
    LetGoOfData();
}

} // namespace vum
