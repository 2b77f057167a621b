#pragma once

#include <vector>

#include "platform/wallpaper/Wallpaper.h"

// Records each request; answers with `succeed`.
class RecordingWallpaper : public Wallpaper {
public:
    struct Request {
        QString path;
        WallpaperStyle style;
    };
    bool set(const QString& path, WallpaperStyle style) override
    {
        requests.push_back({path, style});
        return succeed;
    }

    std::vector<Request> requests;
    bool succeed = true;
};
