#include "imaging/PictureLoader.h"

namespace vum {

std::string ExtractFileExt(const std::string& fileName)
{
    std::size_t slash = fileName.find_last_of('/');
    std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return fileName.substr(dot);
}

TGraphicClassRef FindPictureClass(const std::string& fileName, const TFileFormatList& list)
{
    if (TGraphicClassRef byContent = list.FindClassByContent(fileName))
        return byContent;
    std::string extension = ExtractFileExt(fileName);
    return extension.empty() ? nullptr : list.FindClassByExtension(extension);
}

std::unique_ptr<TBitmap> LoadPictureFile(const std::string& fileName, TGraphicClassRef graphicClass)
{
    std::unique_ptr<TBitmap> picture = graphicClass->Create();
    picture->LoadFromFile(fileName);
    return picture;
}

} // namespace vum
