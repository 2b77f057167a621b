#include <QFileInfo>
#include <QString>
#include <filesystem>
#include <gtest/gtest.h>

#include "TempDir.h"
#include "widgets/ChoiceSources.h"

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

TEST(ChoiceSources, SizeFileLines)
{
    TempDir dir;
    writeFile(dir.path() / "size.ini", "Blog;640;480\r\n\r\nFour;1;2;3\nlabel only\n;5;6\n中文;800;600");
    const std::vector<SizeEntry> rows = readSizeFile(q(dir.file("size.ini")));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].label, QStringLiteral("Blog"));
    EXPECT_EQ(rows[0].width, QStringLiteral("640"));
    EXPECT_EQ(rows[0].height, QStringLiteral("480"));
    EXPECT_EQ(rows[1].height, QStringLiteral("2;3"));
    EXPECT_EQ(rows[2].label, QStringLiteral("label only"));
    EXPECT_TRUE(rows[2].width.isEmpty() && rows[2].height.isEmpty());
    EXPECT_EQ(rows[3].label, QStringLiteral("中文"));
    EXPECT_TRUE(readSizeFile(q(dir.file("missing.ini"))).empty());
}

// A border is a name, then ".png" in any case: "dxpng" and "zpng" have no
// ending of their own and ".png" no name.
TEST(ChoiceSources, BordersAreNamedPngFilesInAnyCase)
{
    TempDir dir;
    for (const char* name : {"b.PNG", "a.png", "c.png.txt", "dxpng", "zpng", ".png", "e.jpg"})
        writeFile(dir.path() / name, "x");
    std::filesystem::create_directory(dir.path() / "sub.png");
    const QStringList files = borderFiles(q(dir.path().string()));
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(QFileInfo(files[0]).fileName(), QStringLiteral("a.png"));
    EXPECT_EQ(QFileInfo(files[1]).fileName(), QStringLiteral("b.PNG"));
    EXPECT_EQ(borderLabel(files[1]), QStringLiteral("b"));
}

} // namespace
