#pragma once

#include <cstdint>
#include <string>

namespace vum {

class TCustomVumCanvas;

// Paragraph calls of the drawing surface: text that flows down the page in
// the current paragraph style's margins, indents, alignment and page feed.
void BeginPara(TCustomVumCanvas& canvas, const std::string& text, const std::string& style);
void AppendPara(TCustomVumCanvas& canvas, const std::string& text, const std::string& style);
void AppendLinkPara(TCustomVumCanvas& canvas, const std::string& text, const std::string& style,
                    const std::string& destination);
void AppendTabPara(TCustomVumCanvas& canvas, const std::string& text, const std::string& style);
void EndPara(TCustomVumCanvas& canvas, const std::string& text, const std::string& style);
void WritePara(TCustomVumCanvas& canvas, const std::string& text, const std::string& style);
void NameNextPara(TCustomVumCanvas& canvas, const std::string& name);
int32_t ParaHeight(TCustomVumCanvas& canvas, const std::string& text);

// DefineStyle: finds or makes the style and sets one parameter.
void DefineStyle(TCustomVumCanvas& canvas, const std::string& style, const std::string& key,
                 const std::string& value);
// Replaces every style by the sections of an INI file ([Name], Key=Value);
// "File not found" / "Can't open file" with the name, "Invalid style name"
// for a BaseStyle or BulletStyle that names no style.
void LoadStyleSheet(TCustomVumCanvas& canvas, const std::string& fileName);

// The inherited value of a parameter of the current style; empty without one.
std::string StyleParameter(TCustomVumCanvas& canvas, const std::string& key);

} // namespace vum
