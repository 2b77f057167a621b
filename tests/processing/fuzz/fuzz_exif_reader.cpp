// Feeds arbitrary bytes to the EXIF reader and asks for every tag the program
// uses: it may find nothing, never crash, hang or take much memory.
#include <QByteArray>

#include "processing/ExifReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Most inputs get a JPEG start and an APP1 "Exif" head, so that the
    // directories behind them are reached.
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (size > 0 && data[0] % 4 != 0)
        bytes = QByteArray("\xFF\xD8\xFF\xE1", 4) + bytes.mid(1, 2) + QByteArray("Exif\0\0", 6) + bytes.mid(3);
    ExifReader reader;
    reader.LoadBytes(bytes);
    for (int32_t tag : {0, 274, 36867, 34665, 282})
        (void)reader.Tag(tag).toString();
    (void)reader.MakerNoteTag(274);
    return 0;
}
