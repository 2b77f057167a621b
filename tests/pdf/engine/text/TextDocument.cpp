#include "TextDocument.h"

#include "vumpdf.h"

#include <gtest/gtest.h>

#include <vector>

TextDocument::TextDocument() : path_(dir_.file("text.pdf"))
{
    handle_ = CreateVum(0, 0);
    SetStrProp(handle_, 10, path_.c_str());
}

TextDocument::~TextDocument()
{
    FreeVum(handle_);
}

void TextDocument::begin()
{
    ASSERT_EQ(BeginDoc(handle_), 0) << lastError();
}

void TextDocument::end()
{
    ASSERT_EQ(EndDoc(handle_), 0) << lastError();
}

void TextDocument::font(const std::string& name, int32_t size, bool bold, int32_t charset)
{
    ASSERT_EQ(SetStrProp(handle_, 11, name.c_str()), 0);
    ASSERT_EQ(SetNumProp(handle_, 28, size), 0);
    ASSERT_EQ(SetNumProp(handle_, 24, bold ? 1 : 0), 0);
    ASSERT_EQ(SetNumProp(handle_, 49, charset), 0);
}

std::string TextDocument::text(int page, bool layout) const
{
    std::vector<std::string> args = {"pdftotext", "-enc", "UTF-8"};
    if (layout)
        args.push_back("-layout");
    if (page > 0)
        args.insert(args.end(), {"-f", std::to_string(page), "-l", std::to_string(page)});
    args.insert(args.end(), {path_, "-"});
    return runTool(args).out;
}

ToolResult TextDocument::fonts() const
{
    return runTool({"pdffonts", path_});
}

ToolResult TextDocument::check() const
{
    return runTool({"qpdf", "--check", path_});
}

int TextDocument::pageCount() const
{
    const std::string info = runTool({"pdfinfo", path_}).out;
    const auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

std::string TextDocument::bytes() const
{
    return readFile(path_);
}

std::string lastError()
{
    std::vector<char> buffer(4096, '\0');
    GetErrorMsg(buffer.data());
    return buffer.data();
}
