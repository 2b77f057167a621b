#include <gtest/gtest.h>

#include "platform/wallpaper/DesktopWallpaper.h"

namespace {

struct Call {
    QString program;
    QStringList arguments;
};

} // namespace

// Each desktop gets its own tool and the style in that tool's words; with
// no tool at all nothing runs and the call reports failure.
TEST(DesktopWallpaper, UsesTheToolOfTheDesktop)
{
    const QString pic = "/pics/my wall.bmp";
    const QString xfceList = "/backdrop/screen0/monitor0/workspace0/color-style\n"
                             "/backdrop/screen0/monitor0/workspace0/last-image\n"
                             "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n";
    struct Case {
        const char* desktop;
        QStringList tools;
        WallpaperStyle style;
        bool ok;
        std::vector<Call> calls;
    };
    const std::vector<Case> cases = {
        {"ubuntu:GNOME", {"gsettings", "feh"}, WallpaperStyle::Tiled, true,
         {{"gsettings", {"set", "org.gnome.desktop.background", "picture-options", "wallpaper"}},
          {"gsettings", {"set", "org.gnome.desktop.background", "picture-uri", "file:///pics/my%20wall.bmp"}},
          {"gsettings", {"set", "org.gnome.desktop.background", "picture-uri-dark", "file:///pics/my%20wall.bmp"}}}},
        {"XFCE", {"xfconf-query"}, WallpaperStyle::Stretched, true,
         {{"xfconf-query", {"-c", "xfce4-desktop", "-l"}},
          {"xfconf-query", {"-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitor0/workspace0/last-image", "-s", pic}},
          {"xfconf-query", {"-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitor0/workspace0/image-style", "-s", "3"}},
          {"xfconf-query", {"-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitorHDMI-1/workspace0/last-image", "-s", pic}},
          {"xfconf-query", {"-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitorHDMI-1/workspace0/image-style", "-s", "3"}}}},
        {"KDE", {"plasma-apply-wallpaperimage"}, WallpaperStyle::Centred, true,
         {{"plasma-apply-wallpaperimage", {pic}}}},
        {"i3", {"feh", "gsettings"}, WallpaperStyle::Centred, true, {{"feh", {"--bg-center", pic}}}},
        {"GNOME", {"feh"}, WallpaperStyle::Stretched, true, {{"feh", {"--bg-scale", pic}}}},
        {"", {}, WallpaperStyle::Tiled, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desktop);
        std::vector<Call> calls;
        DesktopWallpaper wallpaper(
            c.desktop, [&](const QString& tool) { return c.tools.contains(tool); },
            [&](const QString& program, const QStringList& args) {
                calls.push_back({program, args});
                return DesktopWallpaper::Result{0, args.contains("-l") ? xfceList : QString()};
            });
        EXPECT_EQ(wallpaper.set(pic, c.style), c.ok);
        ASSERT_EQ(calls.size(), c.calls.size());
        for (size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].program, c.calls[i].program) << i;
            EXPECT_EQ(calls[i].arguments, c.calls[i].arguments) << i;
        }
    }
}

TEST(DesktopWallpaper, ToolFailureIsReported)
{
    DesktopWallpaper wallpaper(
        "KDE", [](const QString&) { return true; },
        [](const QString&, const QStringList&) { return DesktopWallpaper::Result{1, {}}; });
    EXPECT_FALSE(wallpaper.set("/a.bmp", WallpaperStyle::Tiled));
}
