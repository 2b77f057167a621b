#include <QApplication>
#include <QFile>
#include <gtest/gtest.h>

#include "TempDir.h"
#include "platform/skin/SkinEngine.h"

namespace {

TEST(SkinEngine, AppliesStyleSheetsAndIgnoresEverythingElse)
{
    TempDir dir;
    writeFile(dir.path() / "blue.she", "QPushButton { color: blue; }");
    writeFile(dir.path() / "binary.she", std::string("\x00\x01{}", 4));
    writeFile(dir.path() / "plain.she", "no rules here");
    struct Case {
        const char* file;
        int result;
    } cases[] = {{"missing.she", 0}, {"binary.she", 0}, {"plain.she", 0}, {"blue.she", 1}};
    for (const Case& c : cases)
        EXPECT_EQ(SkinH_AttachEx(QString::fromStdString(dir.file(c.file))), c.result) << c.file;
    EXPECT_EQ(qApp->styleSheet(), QStringLiteral("QPushButton { color: blue; }"));
    // A later bad file leaves the skin that is on.
    SkinH_AttachEx(QString::fromStdString(dir.file("plain.she")));
    EXPECT_EQ(qApp->styleSheet(), QStringLiteral("QPushButton { color: blue; }"));
}

} // namespace
