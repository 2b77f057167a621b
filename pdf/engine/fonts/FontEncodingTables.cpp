#include "engine/fonts/FontEncodingTables.h"

#include "platform/fonts/CodePages.h"

#include <stdexcept>

namespace vum {

namespace {

// GREEK_CHARSET
const std::vector<std::string> kDifferences161 = {
    "161/dieresistonos/Alphatonos",
    "175/afii00208",
    "180/tonos",
    "184/Epsilontonos/Etatonos/Iotatonos",
    "188/Omicrontonos",
    "190/Upsilontonos/Omegatonos/iotadieresistonos/Alpha/Beta/Gamma/Delta/Epsilon/Zeta/Eta/Theta/Iota/Kappa/Lambda/Mu/Nu/Xi/Omicron/Pi/Rho",
    "211/Sigma/Tau/Upsilon/Phi/Chi/Psi/Omega/Iotadieresis/Upsilondieresis/alphatonos/epsilontonos/etatonos/iotatonos/upsilondieresistonos",
    "225/alpha/beta/gamma/delta/epsilon/zeta/eta/theta/iota/kappa/lambda/mu/nu/xi/omicron/pi/rho/sigma1/sigma/tau/upsilon/phi/chi/psi/omega",
    "250/iotadieresis/upsilondieresis/omicrontonos/upsilontonos/omegatonos",
};

// TURKISH_CHARSET
const std::vector<std::string> kDifferences162 = {
    "208/Gbreve",
    "221/Idotaccent/Scedilla",
    "240/gbreve",
    "253/dotlessi/scedilla",
};

// HEBREW_CHARSET
const std::vector<std::string> kDifferences177 = {
    "164/afii57636",
    "170/multiply",
    "186/divide",
    "192/afii57799/afii57801/afii57800/afii57802/afii57793/afii57794/afii57795/afii57798/afii57797/afii57806",
    "203/afii57796/afii57807/afii57839/afii57645/afii57841/afii57842/afii57804/afii57803/afii57658/afii57716/afii57717/afii57718",
    "224/afii57664/afii57665/afii57666/afii57667/afii57668/afii57669/afii57670/afii57671/afii57672/afii57673/afii57674",
    "235/afii57675/afii57676/afii57677/afii57678/afii57679/afii57680/afii57681/afii57682/afii57683/afii57684/afii57685/afii57686/afii57687/afii57688/afii57689/afii57690",
    "253/afii299/afii300",
};

// ARABIC_CHARSET
const std::vector<std::string> kDifferences178 = {
    "129/afii57506",
    "138/afii57511",
    "141/afii57507/afii57508/afii57512/afii57509",
    "154/afii57513",
    "157/afii61664/afii301/afii57514",
    "161/afii57388",
    "186/afii57403",
    "191/afii57407",
    "193/afii57409/afii57410/afii57411/afii57412/afii57413/afii57414/afii57415/afii57416/afii57417/afii57418",
    "203/afii57419/afii57420/afii57421/afii57422/afii57423/afii57424/afii57425/afii57426/afii57427/afii57428/afii57429/afii57430",
    "216/afii57431/afii57432/afii57433/afii57434/afii57440/afii57441/afii57442/afii57443",
    "225/afii57444",
    "227/afii57445/afii57446/afii57470/afii57448",
    "236/afii57449/afii57450",
    "240/afii57451/afii57452/afii57453/afii57454",
    "245/afii57455/afii57456",
    "248/afii57457",
    "250/afii57458",
    "253/afii299/afii300/afii57519",
};

// BALTIC_CHARSET
const std::vector<std::string> kDifferences186 = {
    "141/dieresis/caron/cedilla",
    "157/macron/ogonek",
    "168/Oslash",
    "170/Rcommaaccent",
    "175/AE",
    "184/oslash",
    "186/rcommaaccent",
    "191/ae/Aogonek/Iogonek/Amacron/Cacute",
    "198/Eogonek",
    "199/Emacron/Ccaron",
    "202/Zacute/Edotaccent/Gcommaaccent/Kcommaaccent/Imacron/Lcommaaccent/Scaron/Nacute/Ncommaaccent",
    "212/Omacron",
    "216/Uogonek/Lslash/Sacute/Umacron",
    "221/Zdotaccent/Zcaron",
    "224/aogonek/iogonek/amacron/cacute",
    "230/eogonek/emacron/ccaron",
    "234/zacute/edotaccent/gcommaaccent/kcommaaccent/imacron/lcommaaccent/scaron/nacute/ncommaaccent",
    "244/omacron",
    "248/uogonek/lslash/sacute/umacron",
    "253/zdotaccent/zcaron/dotaccent",
};

// RUSSIAN_CHARSET
const std::vector<std::string> kDifferences204 = {
    "128/afii10051/afii10052",
    "131/afii10100",
    "136/Euro",
    "138/afii10058",
    "140/afii10059/afii10061/afii10060/afii10145/afii10099",
    "154/afii10106",
    "156/afii10107/afii10109/afii10108/afii10193",
    "161/afii10062/afii10110/afii10057",
    "165/afii10050",
    "168/afii10023",
    "170/afii10053",
    "175/afii10056",
    "178/afii10055/afii10103/afii10098",
    "184/afii10071/afii61352/afii10101",
    "188/afii10105/afii10054/afii10102/afii10104/afii10017/afii10018/afii10019/afii10020/afii10021/afii10022/afii10024/afii10025",
    "200/afii10026/afii10027/afii10028/afii10029/afii10030/afii10031/afii10032/afii10033/afii10034/afii10035",
    "210/afii10036/afii10037/afii10038/afii10039/afii10040/afii10041/afii10042/afii10043/afii10044/afii10045",
    "220/afii10046/afii10047/afii10048/afii10049/afii10065/afii10066/afii10067/afii10068/afii10069/afii10070",
    "230/afii10072/afii10073/afii10074/afii10075/afii10076/afii10077/afii10078/afii10079/afii10080/afii10081",
    "240/afii10082/afii10083/afii10084/afii10085/afii10086/afii10087/afii10088/afii10089/afii10090/afii10091",
    "250/afii10092/afii10093/afii10094/afii10095/afii10096/afii10097",
};

// EASTEUROPE_CHARSET
const std::vector<std::string> kDifferences238 = {
    "140/Sacute/Tcaron",
    "143/Zacute",
    "156/sacute/tcaron",
    "159/zacute",
    "161/caron/breve/Lslash",
    "165/Aogonek",
    "170/Scedilla",
    "175/Zdotaccent",
    "178/ogonek/lslash",
    "185/aogonek/scedilla",
    "188/Lcaron/hungarumlaut/lcaron/zdotaccent/Racute",
    "195/Abreve",
    "197/Lacute/Cacute",
    "200/Ccaron",
    "202/Eogonek",
    "204/Ecaron",
    "207/Dcaron/Dcroat/Nacute/Ncaron",
    "213/Ohungarumlaut",
    "216/Rcaron/Uring",
    "219/Uhungarumlaut",
    "222/Tcedilla",
    "224/racute",
    "227/abreve",
    "229/lacute/cacute",
    "232/ccaron",
    "234/eogonek",
    "236/ecaron",
    "239/dcaron/dcroat/nacute/ncaron",
    "245/ohungarumlaut",
    "248/rcaron/uring",
    "251/uhungarumlaut",
    "254/tcedilla/dotaccent",
};

} // namespace

const std::vector<std::string>& DifferencesLines(int charset)
{
    static const std::vector<std::string> none;
    switch (charset) {
    case 161: return kDifferences161;
    case 162: return kDifferences162;
    case 177: return kDifferences177;
    case 178: return kDifferences178;
    case 186: return kDifferences186;
    case 204: return kDifferences204;
    case 238: return kDifferences238;
    default: return none;
    }
}

bool MarkDifferenceCodes(const std::vector<std::string>& lines, CodeFlags& flags)
{
    for (const std::string& line : lines) {
        const size_t slash = line.find('/');
        if (slash == std::string::npos || slash == 0 || slash > 3)
            return false;
        int code = 0;
        for (size_t i = 0; i < slash; ++i) {
            if (line[i] < '0' || line[i] > '9')
                return false;
            code = code * 10 + (line[i] - '0');
        }
        for (size_t at = slash; at != std::string::npos; at = line.find('/', at + 1)) {
            if (code > 255)
                return false;
            flags[static_cast<size_t>(code++)] = true;
        }
    }
    return true;
}

const CodeFlags& RightToLeftCodes(int kind)
{
    // Filled once per process and kind; the tables are fixed, so a failure
    // here is a fault of the program itself.
    static const CodeFlags none{};
    static const CodeFlags arabic = [] {
        CodeFlags flags{};
        if (!MarkDifferenceCodes(DifferencesLines(178), flags))
            throw std::logic_error("Internal error: TPdfFont.AssignRTLChars");
        return flags;
    }();
    static const CodeFlags hebrew = [] {
        CodeFlags flags{};
        if (!MarkDifferenceCodes(DifferencesLines(177), flags))
            throw std::logic_error("Internal error: TPdfFont.AssignRTLChars");
        return flags;
    }();
    return kind == 1 ? arabic : kind == 2 ? hebrew : none;
}

bool IsRightToLeftCharacter(int kind, char32_t character)
{
    if (kind != 1 && kind != 2)
        return false;
    const int code = fonts::fromUnicode(kind == 1 ? 1256 : 1255, character);
    return code >= 0 && RightToLeftCodes(kind)[static_cast<size_t>(code)];
}

} // namespace vum
