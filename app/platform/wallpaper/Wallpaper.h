#pragma once

#include <QString>

enum class WallpaperStyle { Tiled, Stretched, Centred };

// Sets the desktop background to a picture file.
class Wallpaper {
public:
    virtual ~Wallpaper() = default;
    // False when the desktop offers no way to set it or the tool failed.
    virtual bool set(const QString& path, WallpaperStyle style) = 0;
};
