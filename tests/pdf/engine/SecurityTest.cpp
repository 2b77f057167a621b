// Encrypted documents: the hash and cipher against their published test
// values, and files that real readers open with the right password only.
#include "PdfApi.h"
#include "PdfFiles.h"

#include "TempDir.h"
#include "ToolRunner.h"

#include "engine/security/Md5.h"
#include "engine/security/Rc4.h"
#include "engine/security/StandardSecurity.h"

#include <gtest/gtest.h>

using namespace vum;

namespace {

std::string Hex(std::string_view bytes)
{
    static const char* const digits = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        out += digits[static_cast<unsigned char>(c) >> 4];
        out += digits[static_cast<unsigned char>(c) & 0xF];
    }
    return out;
}

std::string Md5Hex(std::string_view text)
{
    const auto d = Md5(text);
    return Hex(std::string_view(reinterpret_cast<const char*>(d.data()), d.size()));
}

// A two-page document with text, a Chinese title and the given passwords.
std::string writeProtected(const TempDir& dir, const char* owner, const char* user, int print, int copy)
{
    const std::string file = dir.file("secret.pdf");
    PdfHandle h;
    h.setFile(file);
    h.setStr(VUM_TITLE, "机密 report");
    if (owner) {
        EXPECT_EQ(pdf().SetOwnerPassword(h, owner), 0) << lastError();
    }
    if (user) {
        EXPECT_EQ(pdf().SetUserPassword(h, user, print, copy, 0, 0), 0) << lastError();
    }
    EXPECT_EQ(pdf().BeginDoc(h), 0) << lastError();
    EXPECT_EQ(pdf().TextOut(h, 200, 200, "Hello (first) page"), 0) << lastError();
    EXPECT_EQ(pdf().NewPage(h), 0) << lastError();
    EXPECT_EQ(pdf().TextOut(h, 200, 200, "Second page"), 0) << lastError();
    EXPECT_EQ(pdf().TextOut(h, 200, 400, "第二页"), 0) << lastError();
    EXPECT_EQ(pdf().EndDoc(h), 0) << lastError();
    return file;
}

} // namespace

TEST(Security, Md5MatchesTheTestSuiteOfItsStandard)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [text, digest] : cases)
        EXPECT_EQ(Md5Hex(text), digest) << '"' << text << '"';
}

TEST(Security, Rc4MatchesKnownVectorsAndUndoesItself)
{
    EXPECT_EQ(Hex(Rc4("Key", "Plaintext")), "bbf316e8d940af0ad3");
    EXPECT_EQ(Hex(Rc4("Wiki", "pedia")), "1021bf0420");
    EXPECT_EQ(Hex(Rc4("Secret", "Attack at dawn")), "45a01f645fc35b383552544b9bf5");
    const std::string data(1000, 'x');
    EXPECT_EQ(Rc4("k", Rc4("k", data)), data);
}

TEST(Security, PermissionWords)
{
    EXPECT_EQ(PermissionWord({true, true, true, true}), -4);
    EXPECT_EQ(PermissionWord({true, false, false, false}), -60);
    EXPECT_EQ(PermissionWord({false, false, false, false}), -64);
    EXPECT_FALSE(StandardSecurity().Active());
    EXPECT_TRUE(StandardSecurity("", "", {}, "id").Active()) << "empty passwords still encrypt";
    // Only a user password: the owner entry is made from it.
    const StandardSecurity onlyUser("", "u", {}, "id");
    const StandardSecurity both("u", "u", {}, "id");
    EXPECT_EQ(onlyUser.OwnerKey(), both.OwnerKey());
    EXPECT_EQ(onlyUser.OwnerKey().size(), 32u);
    EXPECT_EQ(onlyUser.UserKey().size(), 32u);
    EXPECT_EQ(onlyUser.FileKey().size(), 5u);
}

TEST(Security, ReadersOpenTheDocumentWithTheRightPasswordOnly)
{
    ASSERT_TRUE(toolsInstalled({"qpdf", "pdftotext", "pdfinfo"}));
    TempDir dir;
    const std::string file = writeProtected(dir, "o", "u", 1, 0);

    const ToolResult shown = runTool({"qpdf", "--show-encryption", "--password=u", file});
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.out.find("R = 2"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("P = -60"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("print low resolution: allowed"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("extract for any purpose: not allowed"), std::string::npos) << shown.out;

    const ToolResult checked = runTool({"qpdf", "--check", "--password=u", file});
    EXPECT_EQ(checked.exitCode, 0) << checked.out << checked.err;

    const ToolResult text = runTool({"pdftotext", "-upw", "u", file, "-"});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("Hello (first) page"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Second page"), std::string::npos) << text.out;
    const ToolResult info = runTool({"pdfinfo", "-upw", "u", file});
    EXPECT_NE(info.out.find("机密 report"), std::string::npos) << info.out;

    EXPECT_NE(runTool({"pdftotext", "-upw", "wrong", file, "-"}).exitCode, 0);
    EXPECT_NE(runTool({"pdftotext", file, "-"}).exitCode, 0) << "no password, no text";

    EXPECT_NE(text.out.find("第二页"), std::string::npos) << text.out;

    const std::string plain = dir.file("plain.pdf");
    const ToolResult decrypted = runTool(
        {"qpdf", "--qdf", "--object-streams=disable", "--decrypt", "--password=o", file, plain});
    EXPECT_EQ(decrypted.exitCode, 0) << decrypted.err;
    EXPECT_NE(runTool({"pdftotext", plain, "-"}).out.find("Second page"), std::string::npos);
    // Every dictionary string was encrypted with its own object's key, the
    // font's too: decrypted, they read as written.
    const std::string clear = readFile(plain);
    EXPECT_NE(clear.find("/Registry (Adobe)"), std::string::npos);
    EXPECT_NE(clear.find("/Ordering (Identity)"), std::string::npos);
}

TEST(Security, PasswordsHoldForOneDocumentAndNotWhileOneIsOpen)
{
    ASSERT_TRUE(toolsInstalled({"qpdf"}));
    TempDir dir;
    PdfHandle h;
    const std::string file = dir.file("a.pdf");
    h.setFile(file);
    ASSERT_EQ(pdf().SetUserPassword(h, "u", 1, 1, 1, 1), 0);
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    EXPECT_EQ(pdf().SetOwnerPassword(h, "o"), -1);
    EXPECT_EQ(lastError(), "Can't invoke this method when active: SetOwnerPassword");
    EXPECT_FALSE(std::filesystem::exists(file)) << "the error aborted the open document";

    // The passwords were taken by the aborted document: the next has none.
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    const ToolResult shown = runTool({"qpdf", "--show-encryption", file});
    EXPECT_NE(shown.out.find("File is not encrypted"), std::string::npos) << shown.out;
    EXPECT_EQ(qpdfProblems(file), "");
}

TEST(Security, PasswordsAreHashedAsReadersTypeThem)
{
    ASSERT_TRUE(toolsInstalled({"qpdf", "mutool"}));
    // The password as the caller gives it, and the bytes a reader hashes.
    // qpdf takes the bytes as they are; mutool turns what is typed into
    // PDFDocEncoding and refuses a file hashed from UTF-8.
    const struct { const char* utf8; std::string docBytes; } cases[] = {
        {"géheim", "g\xE9heim"},
        {"€100", "\xA0" "100"},
        {"a–b•c", "a\x85" "b\x80" "c"},
        {"Łódka", "\x95\xF3" "dka"},
        {"ascii only", "ascii only"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        TempDir dir;
        const std::string file = writeProtected(dir, nullptr, c.utf8, 1, 0);
        const ToolResult opened =
            runTool({"qpdf", "--password-mode=bytes", "--password=" + c.docBytes, "--check", file});
        EXPECT_EQ(opened.exitCode, 0) << opened.out << opened.err;
        const ToolResult mupdf = runTool({"mutool", "draw", "-p", c.utf8, "-F", "txt", "-o", "-", file});
        EXPECT_EQ(mupdf.exitCode, 0) << mupdf.err;
        EXPECT_NE(mupdf.out.find("Second page"), std::string::npos) << mupdf.out << mupdf.err;
    }
}

TEST(Security, PasswordsWithoutPdfDocEncodingAreRefused)
{
    PdfHandle h;
    for (const char* password : {"密码", "smile 😀", "soft\u00ADhyphen", "źle"}) {
        SCOPED_TRACE(password);
        EXPECT_EQ(pdf().SetUserPassword(h, password, 1, 0, 0, 0), -1);
        EXPECT_EQ(lastError(), "Password character not in PDFDocEncoding: SetUserPassword");
        EXPECT_EQ(pdf().SetOwnerPassword(h, password), -1);
        EXPECT_EQ(lastError(), "Password character not in PDFDocEncoding: SetOwnerPassword");
    }
}

TEST(Security, EmptyPasswordsStillCarryWithheldPermissions)
{
    ASSERT_TRUE(toolsInstalled({"qpdf", "pdfinfo", "pdftotext"}));
    TempDir dir;
    const std::string file = writeProtected(dir, nullptr, "", 1, 0);
    EXPECT_EQ(qpdfProblems(file), "");
    const ToolResult shown = runTool({"qpdf", "--show-encryption", file});
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.out.find("R = 2"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("P = -60"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("extract for any purpose: not allowed"), std::string::npos) << shown.out;
    const ToolResult info = runTool({"pdfinfo", file});
    EXPECT_NE(info.out.find("copy:no"), std::string::npos) << info.out;
    EXPECT_NE(runTool({"pdftotext", file, "-"}).out.find("Second page"), std::string::npos)
        << "no password is asked for";

    // Nothing withheld and no password: nothing to protect.
    PdfHandle h;
    const std::string open = dir.file("open.pdf");
    h.setFile(open);
    ASSERT_EQ(pdf().SetUserPassword(h, "", 1, 1, 1, 1), 0);
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    EXPECT_NE(runTool({"qpdf", "--show-encryption", open}).out.find("File is not encrypted"), std::string::npos);
}
