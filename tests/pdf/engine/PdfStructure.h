#pragma once

#include <string>
#include <vector>

// The navigation structure of a written PDF file as qpdf reads it back.

// The outline tree, one entry as title(count) with its kids in brackets:
// "A(3)[B(0) C(-1)[D(0)]] E(1)[F(0)]"; count is the item's /Count.
std::string outlineTree(const std::string& path);

// One line per annotation, pages in order: "page subtype name action text",
// e.g. "1 Link - URI https://example.org", "1 Text Key - Call back".
std::string annotationLines(const std::string& path);

// The /Rect of every annotation, pages in order, in points.
struct AnnotationRect {
    double x1, y1, x2, y2;
};
std::vector<AnnotationRect> annotationRects(const std::string& path);
