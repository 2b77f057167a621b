// The C interface as a caller sees it: names, handles, errors, events.
#include "PdfApi.h"

#include "TestEnvironment.h"
#include "TempDir.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <vector>

namespace {

const std::set<std::string> kExportNames = {
#define VUM_NAME(name) #name,
    VUM_EXPORTS(VUM_NAME)
#undef VUM_NAME
};

} // namespace

TEST(PdfExports, LibraryExportsExactlyTheInterface)
{
    ASSERT_EQ(kExportNames.size(), 84u);
    const ToolResult r = runTool({"nm", "-D", "--defined-only", testenv::binDir() + "/libPDF.so"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::set<std::string> exported;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string address, type, name;
        fields >> address >> type >> name;
        if (!name.empty())
            exported.insert(name);
    }
    EXPECT_EQ(exported, kExportNames);
}

TEST(PdfExports, EveryHandleExportRefusesUnknownAndFreedHandles)
{
    const auto& p = pdf();
    char buffer[256];
    const std::vector<std::pair<const char*, std::function<int32_t(int32_t)>>> calls = {
        {"FreeVum", [&](int32_t h) { return p.FreeVum(h); }},
        {"BeginDoc", [&](int32_t h) { return p.BeginDoc(h); }},
        {"EndDoc", [&](int32_t h) { return p.EndDoc(h); }},
        {"Abort", [&](int32_t h) { return p.Abort(h); }},
        {"NewPage", [&](int32_t h) { return p.NewPage(h); }},
        {"GetNumProp", [&](int32_t h) { return p.GetNumProp(h, VUM_PAGE_WIDTH); }},
        {"SetNumProp", [&](int32_t h) { return p.SetNumProp(h, VUM_PEN_WIDTH, 2); }},
        {"GetStrProp", [&](int32_t h) { return p.GetStrProp(h, VUM_TITLE, buffer); }},
        {"SetStrProp", [&](int32_t h) { return p.SetStrProp(h, VUM_TITLE, "x"); }},
        {"TrapEvent", [&](int32_t h) { return p.TrapEvent(h, "ONSTART", nullptr); }},
        {"Rectangle", [&](int32_t h) { return p.Rectangle(h, 0, 0, 10, 10); }},
        {"AddPoint", [&](int32_t h) { return p.AddPoint(h, 1, 1); }},
        {"TextOut", [&](int32_t h) { return p.TextOut(h, 0, 0, "x"); }},
        {"DrawFromFile", [&](int32_t h) { return p.DrawFromFile(h, 0, 0, "x.png"); }},
        {"DefineGrid", [&](int32_t h) { return p.DefineGrid(h, "g", 0, 0); }},
        {"Show", [&](int32_t h) { return p.Show(h); }},
    };
    const int32_t freed = p.CreateVum(0, 0);
    ASSERT_GT(freed, 0);
    ASSERT_EQ(p.FreeVum(freed), 0);
    const int32_t newer = p.CreateVum(0, 0);
    EXPECT_NE(newer, freed) << "handle ids are never reused";
    for (const int32_t bad : {0, -1, 987654, freed}) {
        for (const auto& [name, call] : calls) {
            EXPECT_EQ(call(bad), -1) << name << " with handle " << bad;
            EXPECT_EQ(lastError(), "Bad Vum handle") << name << " with handle " << bad;
        }
    }
    p.FreeVum(newer);
}

TEST(PdfExports, ErrorMessageIsKeptUntilReadOnce)
{
    PdfHandle h;
    EXPECT_EQ(pdf().SetNumProp(h, 35, 1), -1);
    EXPECT_EQ(pdf().SetNumProp(h, VUM_PEN_WIDTH, 3), 0) << "a success keeps the message";
    EXPECT_EQ(lastError(), "Bad numeric property ID: 35");
    EXPECT_EQ(lastError(), "");
    // A query whose genuine value is -1 stores nothing.
    ASSERT_EQ(pdf().SetNumProp(h, VUM_CURRENT_Y, -1), 0);
    EXPECT_EQ(pdf().GetNumProp(h, VUM_CURRENT_Y), -1);
    EXPECT_EQ(lastError(), "");
}

TEST(PdfExports, LongMessagesAreCutToTheBufferOnACharacterBoundary)
{
    PdfHandle h;
    std::string name;
    for (int i = 0; i < 200; ++i)
        name += "\xC3\xA4"; // ä, two bytes
    ASSERT_EQ(pdf().TrapEvent(h, name.c_str(), nullptr), -1);
    char buffer[400];
    std::memset(buffer, 'X', sizeof buffer);
    pdf().GetErrorMsg(buffer);
    const size_t length = std::strlen(buffer);
    EXPECT_LE(length, 255u);
    EXPECT_EQ(buffer[256], 'X') << "nothing written past 256 bytes";
    EXPECT_EQ(std::string(buffer, 16), "Bad event name: ");
    EXPECT_EQ((length - 16) % 2, 0u) << "no character cut in half";
}

namespace {
std::vector<std::string> g_events;
void onStart(int32_t) { g_events.push_back("start"); }
void onNewPage(int32_t) { g_events.push_back("newpage"); }
void onEnd(int32_t) { g_events.push_back("end"); }
void onAbort(int32_t) { g_events.push_back("abort"); }
void never(int32_t) { g_events.push_back("never"); }
} // namespace

TEST(PdfExports, TrapEventNumbersAndNames)
{
    const int32_t h = pdf().CreateVum(0, 100);
    EXPECT_EQ(pdf().TrapEvent(h, "onstart", nullptr), 100 + 1028);
    EXPECT_EQ(pdf().TrapEvent(h, "ONABORT", nullptr), 100 + 1025);
    EXPECT_EQ(pdf().TrapEvent(h, "OnToolClick", nullptr), 100 + 1035);
    EXPECT_EQ(pdf().TrapEvent(h, "OnToolClick", never), 0);
    EXPECT_EQ(pdf().TrapEvent(h, "OnPrint", onStart), -1);
    EXPECT_EQ(lastError(), "Bad event name: ONPRINT");
    pdf().FreeVum(h);
}

TEST(PdfExports, EventsReachCallbacksInDocumentOrder)
{
    TempDir dir;
    PdfHandle h;
    h.setFile(dir.file("events.pdf"));
    ASSERT_EQ(pdf().TrapEvent(h, "OnStart", onStart), 0);
    ASSERT_EQ(pdf().TrapEvent(h, "ONNEWPAGE", onNewPage), 0);
    ASSERT_EQ(pdf().TrapEvent(h, "onEnd", onEnd), 0);
    ASSERT_EQ(pdf().TrapEvent(h, "OnAbort", onAbort), 0);
    g_events.clear();
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    ASSERT_EQ(pdf().NewPage(h), 0);
    ASSERT_EQ(pdf().EndDoc(h), 0);
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    ASSERT_EQ(pdf().Abort(h), 0);
    EXPECT_EQ(g_events, (std::vector<std::string>{"start", "newpage", "newpage", "end", "start", "newpage", "abort"}));
}

// Every export reaches the engine: none is a stub any more, so drawing calls
// meet the engine's own check of the document.
TEST(PdfExports, DrawingFeaturesNeedAnOpenDocument)
{
    PdfHandle h;
    const std::vector<std::pair<std::string, std::function<int32_t()>>> calls = {
        {"DefineGrid", [&] { return pdf().DefineGrid(h, "g", 0, 0); }},
        {"DefineName", [&] { return pdf().DefineName(h, 0, 0, "n"); }},
        {"SetLink", [&] { return pdf().SetLink(h, 0, 0, 1, 1, "n"); }},
        {"SetBookmark", [&] { return pdf().SetBookmark(h, 0, 0, "b", 1, 1); }},
        {"Annotation", [&] { return pdf().Annotation(h, 0, 0, "a", 0); }},
        {"RubberStamp", [&] { return pdf().RubberStamp(h, 0, 0, 1, 1, "s", 0); }},
        {"WriteRichText", [&] { return pdf().WriteRichText(h, "{\\rtf1 x}", ""); }},
    };
    for (const auto& [name, call] : calls) {
        EXPECT_EQ(call(), -1) << name;
        EXPECT_EQ(lastError(), "Document not opened") << name;
    }
}

TEST(PdfExports, UnloadingAbortsOpenDocumentsAndDeletesTheirFiles)
{
    TempDir dir;
    const std::string path = testenv::binDir() + "/libPDF.so";
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr);
    auto create = reinterpret_cast<decltype(&::CreateVum)>(dlsym(library, "CreateVum"));
    auto setStr = reinterpret_cast<decltype(&::SetStrProp)>(dlsym(library, "SetStrProp"));
    auto begin = reinterpret_cast<decltype(&::BeginDoc)>(dlsym(library, "BeginDoc"));
    auto trap = reinterpret_cast<decltype(&::TrapEvent)>(dlsym(library, "TrapEvent"));
    const std::vector<std::string> files{dir.file("first.pdf"), dir.file("second.pdf")};
    for (const auto& file : files) {
        const int32_t h = create(0, 0);
        setStr(h, VUM_FILE_NAME, file.c_str());
        trap(h, "OnAbort", never);
        ASSERT_EQ(begin(h), 0);
        ASSERT_TRUE(std::filesystem::exists(file));
    }
    g_events.clear();
    ASSERT_EQ(dlclose(library), 0);
    for (const auto& file : files)
        EXPECT_FALSE(std::filesystem::exists(file)) << file;
    EXPECT_TRUE(g_events.empty()) << "no events while unloading";
}
