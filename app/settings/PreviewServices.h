#pragma once

#include <QPoint>
#include <QString>

// What the settings panel asks of the window it sits in: the selected list
// entry, the live preview (redraw, the watermark marker, the menus that pop
// up over the window) and the status line. The main window implements it;
// tests use a recording stand-in.
class PreviewServices {
public:
    virtual ~PreviewServices() = default;

    // Index of the selected list entry; -1 when none.
    virtual int selectedIndex() const = 0;
    // True while the preview shows a picture.
    virtual bool previewShown() const = 0;
    // Renders the selected entry again with the current settings. True when
    // the status line then says what is wrong (the picture, its border or its
    // watermark cannot be read or was read in part) in place of the picture's
    // information: a tip shown after it would hide that.
    virtual bool redrawPreview() = 0;
    virtual void focusList() = 0;
    // Writes a tip, with its "【提示】" already in the text, into the status line.
    virtual void showTip(const QString& text) = 0;
    // Shows again what the last redraw said of the selected entry (its
    // information line, or what is wrong with it), in place of the hint of a
    // command the user gave up.
    virtual void showPictureTip() = 0;
    // A watermark's position choice changed (picture: the picture watermark).
    // A free position hands the marker to the user: it lies over that
    // watermark, blinks and the preview takes the keys. A preset position
    // was drawn by the caller; the hidden marker follows the watermark.
    virtual void positionChosen(bool picture, bool freePosition) = 0;
    // Pop-up menus the window owns, opened at a point in screen coordinates.
    virtual void popupPrefixMenu(QPoint global) = 0;
    virtual void popupEffectsMenu(QPoint global) = 0;
};
