#include <gtest/gtest.h>

#include "services/ShellHelpers.h"
#include "platform/shell/RecordingShell.h"
#include "platform/wallpaper/RecordingWallpaper.h"
#include "state/AppState.h"

TEST(ShowTip, CutsOnlyTextsOverTheLimit)
{
    struct Case {
        int length;
        int shownLength;
        bool marked;
    };
    for (const Case c : {Case{0, 0, false}, {120, 120, false}, {121, 121, false}, {230, 230, false},
                         {231, 233, true}, {300, 233, true}}) {
        SCOPED_TRACE(c.length);
        AppState app;
        QString sunk;
        app.status.setSink([&](const QString& t) { sunk = t; });
        ShowTip(app, QString(c.length, QChar(u'图')));
        EXPECT_EQ(sunk, app.status.text());
        EXPECT_EQ(sunk.size(), c.shownLength);
        EXPECT_EQ(sunk.endsWith("..."), c.marked);
    }
}

TEST(ShowTip, NeverCutsASurrogatePairInHalf)
{
    AppState app;
    // 229 letters, then a character outside the 16-bit range, then more.
    const QString text = QString(229, 'a') + QString::fromUcs4(U"😀") + QString(10, 'b');
    ShowTip(app, text);
    EXPECT_EQ(app.status.text(), QString(229, 'a') + "...");
}

TEST(ShellHelpers, OpenAndRunPassEachPathWhole)
{
    RecordingShell shell;
    OpenURL(shell, "/out dir/PicURL.htm");
    OpenURL(shell, "http://example.org/a b");
    RunWinApp(shell, "explorer.exe", "/home/u/My \"Pics\"");
    RunWinApp(shell, "\\system32\\notepad.exe", "/out dir/ErrorLog.txt");
    RunWinApp(shell, "NotePad.exe", "/prog/ReadMe.txt");
    RunWinApp(shell, "gimp", "/pics/a b.jpg");
    RunWinApp(shell, "gimp", "");

    const std::vector<QString> opened = {"/out dir/PicURL.htm", "http://example.org/a b", "/home/u/My \"Pics\"",
                                         "/out dir/ErrorLog.txt", "/prog/ReadMe.txt"};
    EXPECT_EQ(shell.opened, opened);
    ASSERT_EQ(shell.started.size(), 2u);
    EXPECT_EQ(shell.started[0].program, "gimp");
    EXPECT_EQ(shell.started[0].arguments, QStringList{"/pics/a b.jpg"});
    EXPECT_TRUE(shell.started[1].arguments.isEmpty());
}

TEST(ShellHelpers, WallpaperStyles)
{
    RecordingWallpaper wallpaper;
    EXPECT_TRUE(SetWallpaper(wallpaper, "/p/a.bmp", 0));
    EXPECT_TRUE(SetWallpaper(wallpaper, "/p/a.bmp", 1));
    EXPECT_TRUE(SetWallpaper(wallpaper, "/p/a.bmp", 2));
    EXPECT_FALSE(SetWallpaper(wallpaper, "/p/a.bmp", 3));
    EXPECT_FALSE(SetWallpaper(wallpaper, "/p/a.bmp", -1));
    ASSERT_EQ(wallpaper.requests.size(), 3u);
    EXPECT_EQ(wallpaper.requests[0].style, WallpaperStyle::Tiled);
    EXPECT_EQ(wallpaper.requests[1].style, WallpaperStyle::Stretched);
    EXPECT_EQ(wallpaper.requests[2].style, WallpaperStyle::Centred);
    EXPECT_EQ(wallpaper.requests[2].path, "/p/a.bmp");
}
