#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Checks of written PDF files by outside tools.

// qpdf --check passes (its output on failure).
std::string qpdfProblems(const std::string& path);

// One field of pdfinfo's report ("Pages", "Title", "Page size"), trimmed;
// firstPage/lastPage ask for per-page lines ("Page    2 size").
std::string pdfInfoField(const std::string& path, const std::string& field, int firstPage = 0, int lastPage = 0);

// A page rendered at 72 pixels per inch (one pixel per point).
struct Raster {
    int width = 0;
    int height = 0;
    std::string rgb; // 3 bytes per pixel, rows from the top
    uint32_t at(int x, int y) const; // 0xRRGGBB
};
Raster renderPage(const std::string& path, int page = 1);

// The image object of each placement, page by page, as pdfimages lists them.
std::vector<std::string> placedObjects(const std::string& pdf);
