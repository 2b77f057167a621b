#pragma once

#include <QImage>
#include <QString>

// What the viewer needs of the window that opens it: the picture list, the
// processed preview, the window's visibility, the settings, the status line
// and the desktop's wallpaper. The main window implements it, so the viewer
// never reaches into the main window's controls.
class ViewerHost {
public:
    virtual ~ViewerHost() = default;

    virtual int listCount() const = 0;
    // The selected entry; -1 when none.
    virtual int listIndex() const = 0;
    // Selects an entry with the host's own reaction: the host's preview
    // renders it, so processedPicture() shows it afterwards.
    virtual void setListIndex(int index) = 0;
    virtual QString listItem(int index) const = 0;
    // False when the entry does not exist.
    virtual bool removeListItem(int index) = 0;
    virtual void appendListItem(const QString& path) = 0;
    // Loads and previews the selected entry, as a click on the list does.
    virtual void lstFile_Click() = 0;
    // The processed rendering of the selected entry at full size.
    virtual QImage processedPicture() const = 0;

    virtual void setHostVisible(bool visible) = 0;
    // A tip in the host's status line.
    virtual void showTip(const QString& text) = 0;

    // Settings of section "Options", as stored text; "" when absent.
    virtual QString setting(const QString& key) const = 0;
    virtual void storeSetting(const QString& key, const QString& value) = 0;

    // Style 0 tiled, 1 stretched, 2 centred; false when nothing was set.
    virtual bool setWallpaper(const QString& path, int style) = 0;
};
