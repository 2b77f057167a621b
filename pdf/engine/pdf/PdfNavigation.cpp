// Named targets, links, notes and stamps of the PDF writer, and at the end
// of the document the outline tree, the name tree of destinations and the
// warning about link names that were never defined.
#include "engine/pdf/PdfCanvas.h"

#include "engine/document/VumDocument.h"
#include "engine/pdf/LinkDefinition.h"
#include "engine/util/PdfNumber.h"
#include "engine/util/VumError.h"
#include "engine/util/Warnings.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

namespace vum {

namespace {

const char* const kIconNames[] = {"Comment", "Help", "Insert", "Key", "NewParagraph", "Note"};
const char* const kStampNames[] = {"Approved", "Asis", "Confidential", "Departmental", "Draft",
                                   "Experimental", "Expired", "Final", "ForComment", "ForPublicRelease",
                                   "NotApproved", "NotForPublicRelease", "Sold", "TopSecret"};

// The tree in depth-first order, parents before children, without
// recursion (outlines may nest as deep as a caller makes them).
std::vector<const TCustomVumBookmark*> DepthFirst(const TCustomVumBookmark& root)
{
    std::vector<const TCustomVumBookmark*> out;
    std::vector<const TCustomVumBookmark*> stack = {&root};
    while (!stack.empty()) {
        const TCustomVumBookmark* node = stack.back();
        stack.pop_back();
        out.push_back(node);
        for (auto child = node->Children.rbegin(); child != node->Children.rend(); ++child)
            stack.push_back(child->get());
    }
    return out;
}

} // namespace

std::string TPdfCanvas::PageRef(int32_t pageNumber) const
{
    if (pageObjects_.empty())
        return "null";
    const size_t index = std::clamp<int64_t>(int64_t(pageNumber) - 1, 0, int64_t(pageObjects_.size()) - 1);
    return PdfObjectWriter::ObjectRef(pageObjects_[index]);
}

std::string TPdfCanvas::RectText(int32_t x1, int32_t y1, int32_t x2, int32_t y2) const
{
    const double left = ToPoints(std::min(x1, x2)), right = ToPoints(std::max(x1, x2));
    const double bottom = FlipY(std::max(y1, y2)), top = FlipY(std::min(y1, y2));
    return "/Rect[" + FormatPdfNumber(left) + " " + FormatPdfNumber(bottom) + " " + FormatPdfNumber(right) + " " +
           FormatPdfNumber(top) + "]";
}

void TPdfCanvas::DefineName(int32_t x, int32_t y, const std::string& name)
{
    if (!Guard())
        return;
    TCustomVumCanvas::DefineName(x, y, name);
    auto target = std::make_unique<TPdfNameTarget>();
    target->PageNumber = Document().PageNumber();
    target->X = x;
    target->Y = y;
    target->Name = name;
    AddNameTarget(std::move(target));
}

void TPdfCanvas::SetLink(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const std::string& destination)
{
    if (!Guard())
        return;
    TCustomVumCanvas::SetLink(x1, y1, x2, y2, destination);
    std::string title, rest;
    SplitBraced(destination, title, rest);
    const int32_t number = writer_.ReserveObjectNumber();
    std::vector<std::string> action;
    try {
        action = LinkActionLines(*this, rest, number);
    } catch (const VumError& error) {
        RaiseMethodError(error.what());
    }
    writer_.BeginReservedObject(number);
    writer_.WriteLine("/Type/Annot");
    writer_.WriteLine("/Subtype/Link");
    writer_.WriteLine(RectText(x1, y1, x2, y2));
    writer_.WriteLine("/Border [0 0 0]");
    writer_.WriteLine("/H/I");
    writer_.WriteLine("/A <<");
    for (const std::string& line : action)
        writer_.WriteLine(line);
    writer_.WriteLine(">>");
    writer_.EndObject();
    pageAnnots_.push_back(number);
}

void TPdfCanvas::Annotation(int32_t x, int32_t y, const std::string& text, int icon)
{
    if (!Guard())
        return;
    TCustomVumCanvas::Annotation(x, y, text, icon);
    std::string title, rest;
    SplitBraced(text, title, rest);
    const int32_t number = writer_.BeginObject();
    writer_.WriteLine("/Type/Annot");
    writer_.WriteLine("/Subtype/Text");
    writer_.WriteLine(std::string("/Name/") + kIconNames[icon]);
    writer_.WriteLine("/Rect[" + X(x) + " " + Y(y) + " " + X(x) + " " + Y(y) + "]");
    // The braced title names the note in the reader's pop-up.
    if (!title.empty())
        writer_.WriteLine("/T" + TextString(title, number));
    writer_.WriteLine("/Contents" + TextString(rest, number));
    writer_.EndObject();
    pageAnnots_.push_back(number);
}

void TPdfCanvas::RubberStamp(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const std::string& text, int stamp)
{
    if (!Guard())
        return;
    TCustomVumCanvas::RubberStamp(x1, y1, x2, y2, text, stamp);
    const int32_t number = writer_.BeginObject();
    writer_.WriteLine("/Type/Annot");
    writer_.WriteLine("/Subtype/Stamp");
    writer_.WriteLine(std::string("/Name/") + kStampNames[stamp]);
    writer_.WriteLine(RectText(x1, y1, x2, y2));
    writer_.WriteLine("/Contents" + TextString(text, number));
    writer_.EndObject();
    pageAnnots_.push_back(number);
}

int32_t TPdfCanvas::WriteOutlines()
{
    const TCustomVumBookmark& root = BookmarkRoot();
    if (root.Children.empty())
        return 0;
    const std::vector<const TCustomVumBookmark*> nodes = DepthFirst(root);
    std::unordered_map<const TCustomVumBookmark*, size_t> index;
    for (size_t i = 0; i < nodes.size(); ++i)
        index[nodes[i]] = i;
    std::vector<int32_t> numbers(nodes.size());
    for (int32_t& number : numbers)
        number = writer_.ReserveObjectNumber();
    const auto ref = [&](const TCustomVumBookmark* node) { return PdfObjectWriter::ObjectRef(numbers[index.at(node)]); };
    // Entries a reader shows below an open node, children before parents;
    // and each entry's neighbours among its siblings.
    std::vector<int64_t> visible(nodes.size(), 0);
    for (size_t i = nodes.size(); i-- > 0;)
        for (const auto& child : nodes[i]->Children)
            visible[i] += 1 + (child->Open ? visible[index.at(child.get())] : 0);
    std::vector<const TCustomVumBookmark*> prev(nodes.size()), next(nodes.size());
    for (const TCustomVumBookmark* node : nodes)
        for (size_t k = 0; k < node->Children.size(); ++k) {
            const size_t at = index.at(node->Children[k].get());
            prev[at] = k > 0 ? node->Children[k - 1].get() : nullptr;
            next[at] = k + 1 < node->Children.size() ? node->Children[k + 1].get() : nullptr;
        }

    for (size_t i = 0; i < nodes.size(); ++i) {
        const TCustomVumBookmark* node = nodes[i];
        const int32_t number = numbers[i];
        writer_.BeginReservedObject(number);
        if (node->Parent) {
            writer_.WriteLine("/Title " + TextString(node->Title, number));
            writer_.WriteLine("/Dest[" + PageRef(node->PageNumber) + " /XYZ " + X(node->X) + " " + Y(node->Y) +
                              " 0]");
            writer_.WriteLine("/Parent " + ref(node->Parent));
            if (prev[i])
                writer_.WriteLine("/Prev " + ref(prev[i]));
            if (next[i])
                writer_.WriteLine("/Next " + ref(next[i]));
            // Open: the entries shown below it; closed: minus those it
            // would show when opened.
            writer_.WriteLine("/Count " + IntText(node->Open ? visible[i] : -visible[i]));
        } else if (visible[i] > 0) {
            writer_.WriteLine("/Count " + IntText(visible[i]));
        }
        if (!node->Children.empty()) {
            writer_.WriteLine("/First " + ref(node->Children.front().get()));
            writer_.WriteLine("/Last " + ref(node->Children.back().get()));
        }
        writer_.EndObject();
    }
    return numbers[0];
}

int32_t TPdfCanvas::WriteNamedDestinations()
{
    const TNameTargets& targets = DefinedNames();
    if (targets.empty())
        return 0;
    std::map<const TCustomNameTarget*, int32_t> destinations;
    for (const auto& [name, target] : targets) {
        const int32_t number = writer_.BeginObject();
        writer_.WriteLine("/D [" + PageRef(target->PageNumber) + " /XYZ " + X(target->X) + " " + Y(target->Y) +
                          " null ]");
        writer_.EndObject();
        destinations[target.get()] = number;
    }
    // Readers look names up byte for byte, in a tree sorted by bytes; a
    // link that spells a defined name in other letter case gets that
    // spelling as a name of its own.
    std::map<std::string, int32_t> entries;
    for (const auto& [name, target] : targets)
        entries.emplace(target->Name, destinations.at(target.get()));
    for (const std::string& used : ReferencedNames())
        if (const auto found = targets.find(used); found != targets.end())
            entries.emplace(used, destinations.at(found->second.get()));

    const int32_t node = writer_.BeginObject();
    std::string list;
    for (const auto& [name, number] : entries)
        list += EncodeString(name, node) + PdfObjectWriter::ObjectRef(number);
    writer_.WriteLine("/Names [" + list + "]");
    writer_.WriteLine("/Limits [" + EncodeString(entries.begin()->first, node) +
                      EncodeString(entries.rbegin()->first, node) + "]");
    writer_.EndObject();

    const int32_t dictionary = writer_.BeginObject();
    writer_.WriteLine("/Dests " + PdfObjectWriter::ObjectRef(node));
    writer_.EndObject();
    return dictionary;
}

void TPdfCanvas::WarnUndefinedLinkNames() const
{
    const TNameTargets& defined = DefinedNames();
    // One warning for a name however many links and spellings use it.
    std::set<std::string, CaseBlindLess> warned;
    for (const std::string& used : ReferencedNames())
        if (defined.count(used) == 0 && warned.insert(used).second)
            ShowWarning("Link destination name not defined", used);
}

} // namespace vum
