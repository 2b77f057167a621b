#include "engine/document/VumDocument.h"

#include "engine/recorder/VumRecorder.h"
#include "engine/util/PdfNumber.h"

namespace vum {

namespace {

std::string Padded(int32_t value, size_t digits)
{
    std::string text = IntText(value < 0 ? -int64_t(value) : value);
    if (text.size() < digits)
        text.insert(0, digits - text.size(), '0');
    return value < 0 ? "-" + text : text;
}

std::string Letters(int32_t value, char first)
{
    if (value <= 0)
        return IntText(value);
    std::string text;
    int64_t v = value;
    do {
        const auto d = static_cast<char>((v - 1) % 26);
        text.insert(text.begin(), static_cast<char>(first + d));
        v = (v - 1) / 26;
    } while (v != 0);
    return text;
}

std::string Roman(int32_t value, bool small)
{
    if (value <= 0 || value >= 4000)
        return IntText(value);
    static const char* const units[] = {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};
    static const char* const tens[] = {"", "X", "XX", "XXX", "XL", "L", "LX", "LXX", "LXXX", "XC"};
    static const char* const hundreds[] = {"", "C", "CC", "CCC", "CD", "D", "DC", "DCC", "DCCC", "CM"};
    std::string text(static_cast<size_t>(value / 1000), 'M');
    text += hundreds[value / 100 % 10];
    text += tens[value / 10 % 10];
    text += units[value % 10];
    if (small)
        for (char& c : text)
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

} // namespace

void TCustomVum::SetPageNumberFormat(uint8_t pageFormat, uint8_t sectionFormat)
{
    pageNumberFormat_ = pageFormat;
    sectionNumberFormat_ = sectionFormat;
    if (recorder_) {
        recorder_->WriteOpcode(opSetPageNumberFormat);
        recorder_->WriteByte(pageFormat);
        recorder_->WriteByte(sectionFormat);
    }
}

int32_t TCustomVum::CounterValue(int kind) const
{
    // A replay counts its own pages and sections; the totals stay those of
    // the whole first pass.
    const int32_t page = replaySource_ ? replaySource_->ReplayPageNumber : pageNumber_;
    const int32_t section = replaySource_ ? replaySource_->ReplaySectionNumber : sectionNumber_;
    const int32_t sectionPage = replaySource_ ? replaySource_->ReplaySectionPageNumber : sectionPageNumber_;
    auto sectionPages = [&] {
        const auto index = static_cast<size_t>(section - 1);
        return section >= 1 && index < sectionPageCounts_.size() ? sectionPageCounts_[index] : 0;
    };
    auto front = [](int32_t n) { return n % 2 == 1 ? (n + 1) / 2 : 0; };
    auto sheets = [](int32_t n) { return (n + 1) / 2; };
    switch (kind % 128) {
    case 1: return page;
    case 2: return pageCount_;
    case 3: return sectionPage;
    case 4: return sectionPages();
    case 5: return section;
    case 6: return static_cast<int32_t>(sectionPageCounts_.size());
    case 7: return front(page);
    case 8: return sheets(pageCount_);
    case 9: return front(sectionPage);
    case 10: return sheets(sectionPages());
    default: return 0;
    }
}

std::string TCustomVum::CounterText(int kind) const
{
    const int k = kind % 128;
    uint8_t format = 0;
    if (k == 1 || k == 3 || k == 7 || k == 9)
        format = pageNumberFormat_;
    else if (k == 5)
        format = sectionNumberFormat_;
    const int32_t v = CounterValue(kind);
    switch (format) {
    case 0: return IntText(v);
    case 1: return Padded(v, 2);
    case 2: return Padded(v, 3);
    case 3: return Padded(v, 4);
    case 4: return Letters(v, 'A');
    case 5: return Letters(v, 'a');
    case 6: return Roman(v, false);
    case 7: return Roman(v, true);
    default: return {};
    }
}

} // namespace vum
