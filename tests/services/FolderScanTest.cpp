#include <QString>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

#include "TempDir.h"
#include "services/ShellHelpers.h"
#include "state/AppState.h"

namespace fs = std::filesystem;

namespace {

QStringList listPaths(const AppState& app)
{
    QStringList paths;
    for (const PictureEntry& e : app.list.entries())
        paths << e.path;
    return paths;
}

QString q(const fs::path& p) { return QString::fromStdString(p.string()); }

} // namespace

TEST(FolderScan, AddsPicturesDepthFirstAndSkipsWhatItMust)
{
    TempDir tmp;
    const fs::path top = tmp.path() / "top";
    for (const char* name : {"a.JPG", "b.tiff", "c.jpeg", "d.tif", "e.txt", "fpng", "g.Gif",
                             ".hidden/x.jpg", "sub/f.png", "sub/deeper/h.bmp", "vanish/v.jpg", "z/last.png"})
        writeFile(top / name, "x");
    fs::create_directory_symlink("..", top / "sub" / "loop");
    fs::create_directory_symlink(top, top / "z" / "again");
    const bool root = geteuid() == 0;
    if (!root) {
        writeFile(top / "locked" / "l.jpg", "x");
        fs::permissions(top / "locked", fs::perms::none);
    }

    AppState app;
    app.list.add(q(top / "b.tiff"));  // already listed: not added twice
    app.list.add(q(top / "A.JPG"));   // differs in case only: the real file is still added
    int yields = 0;
    const FolderScan scan = AddFolderPics(app, q(top), [&] {
        // After the seven files of the top folder its sub-folders are listed:
        // one that disappears before its turn is skipped, not fatal.
        if (++yields == 8)
            fs::remove_all(top / "vanish");
    });

    EXPECT_TRUE(scan.ran);
    EXPECT_FALSE(app.win.bScanning);
    const QStringList expected = {q(top / "b.tiff"), q(top / "A.JPG"), q(top / "a.JPG"), q(top / "c.jpeg"),
                                  q(top / "d.tif"), q(top / "fpng"), q(top / "g.Gif"), q(top / "sub/f.png"),
                                  q(top / "sub/deeper/h.bmp"), q(top / "z/last.png")};
    EXPECT_EQ(listPaths(app), expected);
    EXPECT_EQ(scan.added, 8);
    QStringList skipped = {q(top / "vanish")};
    if (!root)
        skipped.prepend(q(top / "locked"));
    EXPECT_EQ(scan.skipped, skipped);
    if (!root)
        fs::permissions(top / "locked", fs::perms::owner_all, fs::perm_options::add);
}

TEST(FolderScan, NoSecondScanWhileOneRuns)
{
    TempDir tmp;
    writeFile(tmp.path() / "a.png", "x");
    writeFile(tmp.path() / "b.png", "x");
    AppState app;
    FolderScan inner;
    const FolderScan outer = AddFolderPics(app, q(tmp.path()), [&] {
        if (!inner.ran && app.list.empty())
            inner = AddFolderPics(app, q(tmp.path()));
    });
    EXPECT_TRUE(outer.ran);
    EXPECT_FALSE(inner.ran);
    EXPECT_EQ(app.list.count(), 2);
    // Once done, a new scan may start again.
    EXPECT_TRUE(AddFolderPics(app, q(tmp.path())).ran);
}

TEST(FolderScan, MissingFolderIsNotScanned)
{
    AppState app;
    EXPECT_FALSE(AddFolderPics(app, "/no/such/folder").ran);
    EXPECT_FALSE(app.win.bScanning);
}
