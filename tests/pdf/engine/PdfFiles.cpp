#include "PdfFiles.h"

#include "TempDir.h"
#include "ToolRunner.h"

#include <iterator>
#include <sstream>

std::string qpdfProblems(const std::string& path)
{
    const ToolResult r = runTool({"qpdf", "--check", path});
    return r.exitCode == 0 ? std::string() : r.out + r.err + " (exit " + std::to_string(r.exitCode) + ")";
}

std::string pdfInfoField(const std::string& path, const std::string& field, int firstPage, int lastPage)
{
    std::vector<std::string> args{"pdfinfo"};
    if (firstPage > 0) {
        args.insert(args.end(), {"-f", std::to_string(firstPage), "-l", std::to_string(lastPage)});
    }
    args.push_back(path);
    const ToolResult r = runTool(args);
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::string key = line.substr(0, colon);
        // pdfinfo pads "Page    2 size"; compare without repeated blanks.
        std::string squeezed;
        for (char c : key)
            if (!(c == ' ' && !squeezed.empty() && squeezed.back() == ' '))
                squeezed += c;
        if (squeezed != field)
            continue;
        std::string value = line.substr(colon + 1);
        const auto start = value.find_first_not_of(' ');
        return start == std::string::npos ? std::string() : value.substr(start);
    }
    return "<no " + field + ">";
}

uint32_t Raster::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0xFFFFFFFF;
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    return (uint32_t(uint8_t(rgb[i])) << 16) | (uint32_t(uint8_t(rgb[i + 1])) << 8) | uint8_t(rgb[i + 2]);
}

Raster renderPage(const std::string& path, int page)
{
    TempDir dir;
    const std::string prefix = dir.file("page");
    runTool({"pdftoppm", "-r", "72", "-f", std::to_string(page), "-l", std::to_string(page), "-singlefile",
             path, prefix});
    const std::string data = readFile(prefix + ".ppm");
    Raster raster;
    std::istringstream in(data);
    std::string magic;
    int maxValue = 0;
    in >> magic >> raster.width >> raster.height >> maxValue;
    if (magic != "P6" || maxValue != 255)
        return {};
    in.get();
    raster.rgb = data.substr(static_cast<size_t>(in.tellg()));
    return raster;
}

std::vector<std::string> placedObjects(const std::string& pdf)
{
    std::vector<std::string> objects;
    std::istringstream lines(runTool({"pdfimages", "-list", pdf}).out);
    std::string line;
    for (int row = 1; std::getline(lines, line); ++row) {
        if (row <= 2)
            continue; // heading and rule
        std::istringstream fields(line);
        std::vector<std::string> field{std::istream_iterator<std::string>(fields), {}};
        if (field.size() > 10)
            objects.push_back(field[10]);
    }
    return objects;
}
