#pragma once

#include <QImage>
#include <QMap>
#include <QStringList>
#include <vector>

#include "viewer/ViewerHost.h"

// The main window as the viewer sees it: a list, a selection, a visibility,
// settings and a wallpaper setter, each recorded.
class FakeViewerHost : public ViewerHost {
public:
    int listCount() const override { return int(list.size()); }
    int listIndex() const override { return index; }
    void setListIndex(int i) override
    {
        if (i >= -1 && i < listCount())
            index = i;
    }
    QString listItem(int i) const override { return i >= 0 && i < listCount() ? list.at(i) : QString(); }
    bool removeListItem(int i) override
    {
        if (i < 0 || i >= listCount())
            return false;
        list.removeAt(i);
        if (index >= listCount())
            index = listCount() - 1;
        return true;
    }
    void appendListItem(const QString& path) override { list << path; }
    void lstFile_Click() override { ++previews; }
    QImage processedPicture() const override { return processed; }
    void setHostVisible(bool v) override { visible = v; }
    void showTip(const QString& text) override { tips << text; }
    QString setting(const QString& key) const override { return settings.value(key); }
    void storeSetting(const QString& key, const QString& value) override { settings[key] = value; }
    bool setWallpaper(const QString& path, int style) override
    {
        wallpapers.push_back({path, style});
        return true;
    }

    struct WallpaperCall {
        QString path;
        int style;
    };
    QStringList list;
    int index = -1;
    int previews = 0;
    bool visible = true;
    QImage processed;
    QStringList tips;
    QMap<QString, QString> settings;
    std::vector<WallpaperCall> wallpapers;
};
