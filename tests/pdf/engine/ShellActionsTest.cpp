// Show, print and mail hand the finished file to xdg-open, lp and
// xdg-email; recording stand-ins first on PATH catch what they were given.
#include "PdfApi.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <thread>

namespace {

// Each stand-in appends its name and arguments (one per line) to the log.
class Recorders {
public:
    explicit Recorders(int exitCode = 0)
    {
        for (const char* tool : {"xdg-open", "lp", "xdg-email"}) {
            const std::string path = dir_.file(tool);
            writeFile(path, std::string("#!/bin/sh\n{ echo '") + tool + "'; for a in \"$@\"; do echo \"$a\"; done; } >> '" +
                                log() + "'\nexit " + std::to_string(exitCode) + "\n");
            ::chmod(path.c_str(), 0755);
        }
        const char* path = std::getenv("PATH");
        oldPath_ = path ? path : "";
        setenv("PATH", (dir_.path().string() + ":" + oldPath_).c_str(), 1);
    }
    ~Recorders() { setenv("PATH", oldPath_.c_str(), 1); }
    std::string log() const { return dir_.file("calls.log"); }
    std::string calls() const { return readFile(log()); }
    // The viewer runs on its own: wait until every stand-in that was started
    // has finished, so the log is complete (a second, unwanted start shows).
    // The minute is a watchdog against a hang, not a time the test relies on.
    std::string callsAfterViewer() const
    {
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while ((calls().find("xdg-open") == std::string::npos || standInsRunning()) &&
               std::chrono::steady_clock::now() < give_up)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return calls();
    }

private:
    // True while a process runs one of the stand-in scripts of this folder.
    bool standInsRunning() const
    {
        namespace fs = std::filesystem;
        const std::string folder = dir_.path().string();
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator("/proc", ec)) {
            const std::string cmdline = readFile((entry.path() / "cmdline").string());
            if (cmdline.find(folder) != std::string::npos)
                return true;
        }
        return false;
    }

    TempDir dir_;
    std::string oldPath_;
};

std::string finishedDocument(const PdfHandle& h, const TempDir& dir, const std::string& name)
{
    const std::string file = dir.file(name);
    h.setFile(file);
    EXPECT_EQ(pdf().BeginDoc(h), 0);
    EXPECT_EQ(pdf().EndDoc(h), 0) << lastError();
    return file;
}

} // namespace

TEST(PdfShell, WantShowOpensTheFinishedFileOnce)
{
    Recorders recorders;
    TempDir dir;
    PdfHandle h;
    pdf().SetNumProp(h, VUM_WANT_SHOW, 1);
    pdf().SetNumProp(h, VUM_WANT_PAGE_COUNT, 1);
    const std::string file = finishedDocument(h, dir, "show me.pdf");
    EXPECT_EQ(recorders.callsAfterViewer(), "xdg-open\n" + file + "\n");
}

TEST(PdfShell, ShowPrintAndMailPassArgumentLists)
{
    Recorders recorders;
    TempDir dir;
    PdfHandle h;
    h.setStr(VUM_TITLE, "Fotos; rm -rf");
    const std::string file = finishedDocument(h, dir, "out $(x).pdf");
    EXPECT_EQ(pdf().ShowDoc(h), 0) << lastError();
    ASSERT_NE(recorders.callsAfterViewer(), "");
    EXPECT_EQ(pdf().Print(h), 0) << lastError();
    EXPECT_EQ(pdf().PrintDoc(h, "Office 2"), 0) << lastError();
    EXPECT_EQ(pdf().EmailDoc(h, "a@example.org; b@example.org", "", "Hallo", 1), 1) << lastError();
    EXPECT_EQ(recorders.calls(),
              "xdg-open\n" + file + "\n" +
              "lp\n--\n" + file + "\n" +
              "lp\n-d\nOffice 2\n--\n" + file + "\n" +
              "xdg-email\n--utf8\n--subject\nFotos; rm -rf\n--body\nHallo\n--attach\n" + file +
                  "\n--to\na@example.org\n--to\nb@example.org\n");
}

TEST(PdfShell, MissingFilesAndFailingMailer)
{
    Recorders recorders(3);
    TempDir dir;
    PdfHandle h;
    const std::string file = finishedDocument(h, dir, "gone.pdf");
    EXPECT_EQ(pdf().EmailDoc(h, "a@example.org", "S", "T", 0), -1);
    EXPECT_EQ(lastError(), "Could not send email");
    std::filesystem::remove(file);
    EXPECT_EQ(pdf().EmailDoc(h, "a@example.org", "S", "T", 0), -1);
    EXPECT_EQ(lastError(), "File not found: " + file);
    EXPECT_EQ(pdf().Show(h), -1);
    EXPECT_EQ(lastError(), "File not found: " + file);
    EXPECT_EQ(pdf().PrintDoc(h, "x"), -1);
    EXPECT_EQ(lastError(), "File not found: " + file);
    PdfHandle fresh;
    EXPECT_EQ(pdf().EmailDoc(fresh, "a@example.org", "S", "T", 0), -1);
    EXPECT_EQ(lastError(), "FileName not assigned");
}

namespace {

// The real xdg-email hands the mailto address it built to the first
// xdg-email-hook.sh on PATH: a stand-in records it there.
class MailHook {
public:
    MailHook()
    {
        const std::string path = dir_.file("xdg-email-hook.sh");
        writeFile(path, "#!/bin/sh\necho \"$1\" >> '" + log() + "'\n");
        ::chmod(path.c_str(), 0755);
        const char* old = std::getenv("PATH");
        oldPath_ = old ? old : "";
        setenv("PATH", (dir_.path().string() + ":" + oldPath_).c_str(), 1);
    }
    ~MailHook() { setenv("PATH", oldPath_.c_str(), 1); }
    std::string log() const { return dir_.file("mailto.log"); }
    std::string mailto() const { return readFile(log()); }

private:
    TempDir dir_;
    std::string oldPath_;
};

size_t count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(PdfShell, RealMailerGetsEveryAddressAndOnlyTheDocument)
{
    MailHook hook;
    TempDir dir;
    PdfHandle h;
    const std::string file = finishedDocument(h, dir, "mail.pdf");
    EXPECT_EQ(pdf().EmailDoc(h, "a@example.org; b@example.org", "S", "T", 1), 1) << lastError();
    const std::string mailto = hook.mailto();
    EXPECT_EQ(count(mailto, "attach="), 1u) << mailto;
    EXPECT_NE(mailto.find("attach=" + file), std::string::npos) << mailto;
    EXPECT_NE(mailto.find("to=a@example.org"), std::string::npos) << mailto;
    EXPECT_NE(mailto.find("to=b@example.org"), std::string::npos) << mailto;
}

TEST(PdfShell, RecipientsThatLookLikeOptionsAreRefused)
{
    const struct { const char* recipients; const char* refused; } cases[] = {
        {"a@b.c;--attach;/etc/passwd", "--attach"},
        {"-x@example.org", "-x@example.org"},
        {"a@example.org; --bcc ; spy@example.org", "--bcc"},
        {"--cc=spy@example.org", "--cc=spy@example.org"},
    };
    MailHook hook;
    TempDir dir;
    PdfHandle h;
    finishedDocument(h, dir, "mail.pdf");
    for (const auto& c : cases) {
        EXPECT_EQ(pdf().EmailDoc(h, c.recipients, "S", "T", 0), -1) << c.recipients;
        EXPECT_EQ(lastError(), std::string("Invalid email address: ") + c.refused);
    }
    EXPECT_EQ(hook.mailto(), "") << "nothing may reach the mailer";
}
