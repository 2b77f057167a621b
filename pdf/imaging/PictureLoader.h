#pragma once

// Finding and running the reader for a picture file.
#include <memory>
#include <string>

#include "imaging/Registry.h"
#include "imaging/readers/JpegReader.h"   // callers that pass JPEG files through compare with its class

namespace vum {

// The file's extension as it is registered: the text after the last "." of the
// file's own name, with that dot; empty when there is none.
std::string ExtractFileExt(const std::string& fileName);

// The reader class for a file: asked by content first, then by extension; nullptr when none fits.
TGraphicClassRef FindPictureClass(const std::string& fileName, const TFileFormatList& list = FileFormatList());

// Creates a picture of the class and loads the file into it; reader errors propagate.
std::unique_ptr<TBitmap> LoadPictureFile(const std::string& fileName, TGraphicClassRef graphicClass);

} // namespace vum
