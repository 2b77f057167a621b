#include "engine/document/VumDocument.h"

#include "engine/util/TextLists.h"
#include "engine/util/VumError.h"
#include "engine/util/Warnings.h"
#include "platform/process/ProcessLauncher.h"

#include <filesystem>

namespace vum {

namespace {

// Keeps the name of the last document while another name is computed.
class OutputNameKeeper {
public:
    explicit OutputNameKeeper(std::string& name) : name_(name), saved_(name) {}
    ~OutputNameKeeper() { name_ = saved_; }
    OutputNameKeeper(const OutputNameKeeper&) = delete;
    OutputNameKeeper& operator=(const OutputNameKeeper&) = delete;

private:
    std::string& name_;
    std::string saved_;
};

bool FileExists(const std::string& name)
{
    std::error_code error;
    return std::filesystem::is_regular_file(name, error);
}

} // namespace

void TCustomVum::Show()
{
    std::string name;
    {
        OutputNameKeeper keep(outputFileName_);
        name = MakeOutputFileName({}, {}, ".pdf", ".pdf");
    }
    if (name.empty())
        RaiseDocumentError("FileName not assigned");
    if (!FileExists(name))
        RaiseDocumentError("File not found", name);
    // The viewer is not waited for: it stays open as long as the user likes.
    if (!platform::StartDetached({"xdg-open", name}))
        ShowWarning("Could not open the document", name);
}

void TCustomVum::PrintDoc(const std::string& printerName)
{
    std::string name;
    {
        OutputNameKeeper keep(outputFileName_);
        name = MakeOutputFileName({}, {}, ".pdf", ".pdf");
    }
    if (name.empty())
        RaiseDocumentError("FileName not assigned");
    if (!FileExists(name))
        RaiseDocumentError("File not found", name);
    std::vector<std::string> args{"lp"};
    if (!printerName.empty()) {
        args.push_back("-d");
        args.push_back(printerName);
    }
    args.push_back("--");
    args.push_back(name);
    // The print job's own success is the spooler's business; only a missing
    // print command is ours to report.
    if (platform::RunProgram(args) < 0)
        RaiseDocumentError("Adobe Reader not found");
}

bool TCustomVum::EMail(const std::string& recipients, const std::string& subject,
                       const std::string& text, bool /*showDialog: the mail program always asks*/)
{
    if (outputFileName_.empty())
        RaiseContextError("FileName not assigned");
    if (!FileExists(outputFileName_))
        RaiseContextError("File not found", outputFileName_);
    std::vector<std::string> args{"xdg-email", "--utf8"};
    const std::string title = subject.empty() ? title_ : subject;
    if (!title.empty()) {
        args.push_back("--subject");
        args.push_back(title);
    }
    if (!text.empty()) {
        args.push_back("--body");
        args.push_back(text);
    }
    args.push_back("--attach");
    args.push_back(outputFileName_);
    // Each address goes behind its own "--to", so xdg-email never reads one as
    // an option of its own ("--attach" would add a file). A plain "--" cannot
    // end the options: xdg-email refuses it. An address never starts with "-".
    for (const auto& listed : SplitList(recipients, ';')) {
        const std::string recipient = Trim(listed);
        if (recipient.empty())
            continue;
        if (recipient.front() == '-')
            RaiseContextError("Invalid email address", recipient);
        args.push_back("--to");
        args.push_back(recipient);
    }
    if (platform::RunProgram(args) != 0)
        RaiseDocumentError("Could not send email");
    return true;
}

} // namespace vum
