#include "engine/util/PaperSizes.h"

#include "engine/util/TextLists.h"

#include <array>
#include <langinfo.h>
#include <locale.h>

namespace vum {
namespace {

constexpr std::array<PaperEntry, kPaperSizeCount> kPapers{{
    {"Custom", 0, 0}, {"Letter", 2159, 2794}, {"LetterSmall", 2159, 2794},
    {"Tabloid", 2794, 4318}, {"Ledger", 4318, 2794}, {"Legal", 2159, 3556},
    {"Statement", 1270, 2159}, {"Executive", 1842, 2667}, {"A3", 2970, 4200},
    {"A4", 2100, 2970}, {"A4 Small", 2100, 2970}, {"A5", 1480, 2100},
    {"B4", 2500, 3540}, {"B5", 1820, 2570}, {"Folio", 2159, 3302},
    {"Quarto", 2150, 2750}, {"10 x 14 in", 2540, 3556}, {"11 x 17 in", 2794, 4318},
    {"Note", 2159, 2794}, {"Envelope #9", 984, 2254}, {"Envelope #10", 1048, 2413},
    {"Envelope #11", 1043, 2635}, {"Envelope #12", 1207, 2794}, {"Envelope #14", 1270, 2921},
    {"C size sheet", 4318, 5588}, {"D size sheet", 5588, 8636}, {"E size sheet", 8636, 11176},
    {"DL", 1100, 2200}, {"C5", 1620, 2290}, {"C3", 3240, 4580},
    {"C4", 2290, 3240}, {"C6", 1140, 1620}, {"C65", 1140, 2290},
    {"B4", 2500, 3530}, {"B5", 1760, 2500}, {"B6", 1760, 1250},
    {"Envelope Italy", 1100, 2300}, {"Monarch", 984, 1905}, {"Envelope Personal", 921, 1651},
    {"US Standard Fanfold", 3778, 2794}, {"German Standard Fanfold", 2159, 3048},
    {"German Legal Fanfold", 2159, 3302},
}};

} // namespace

const PaperEntry& PaperSizeAt(int index)
{
    return kPapers.at(static_cast<size_t>(index));
}

int FindPaperSize(const std::string& name)
{
    for (int i = 1; i < kPaperSizeCount; ++i)
        if (SameTextAscii(kPapers[i].name, name))
            return i;
    return -1;
}

int DefaultPaperSize()
{
    // The user's LC_PAPER, read without touching the host's own locale.
    locale_t user = newlocale(LC_PAPER_MASK, "", static_cast<locale_t>(0));
    if (!user)
        return 9;
    const auto height = reinterpret_cast<intptr_t>(nl_langinfo_l(_NL_PAPER_HEIGHT, user));
    const auto width = reinterpret_cast<intptr_t>(nl_langinfo_l(_NL_PAPER_WIDTH, user));
    freelocale(user);
    return (height == 279 && width == 216) ? 1 : 9;
}

} // namespace vum
