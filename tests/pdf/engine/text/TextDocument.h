#pragma once

#include "TempDir.h"
#include "ToolRunner.h"

#include <cstdint>
#include <string>

// One document of the library written into a temporary folder, for tests
// that read it back with the outside PDF tools.
class TextDocument {
public:
    TextDocument();
    ~TextDocument();

    int32_t h() const { return handle_; }
    const std::string& path() const { return path_; }
    void begin();
    void end();

    void font(const std::string& name, int32_t size, bool bold = false, int32_t charset = 1);
    // Text of one page, or of all pages (page 0), as pdftotext gives it.
    std::string text(int page = 0, bool layout = false) const;
    ToolResult fonts() const;
    ToolResult check() const;
    int pageCount() const;
    std::string bytes() const;

private:
    int32_t handle_ = -1;
    TempDir dir_;
    std::string path_;
};

// The message of the last failed call.
std::string lastError();
