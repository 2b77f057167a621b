#pragma once

#include <QImage>
#include <QString>

class QMainWindow;
class frmDlg;

// What the menus need of the main window: its list and preview commands and
// the settings-panel controls whose change handlers do the real work. The
// window implements it; the menus never see the window's own class.
class MenuHost {
public:
    enum class ToolPanel { Top, Right };

    virtual ~MenuHost() = default;

    virtual QMainWindow* mainWindow() = 0;

    // Picture list.
    virtual void cmdAdds_Click() = 0;
    virtual void cmdAdd_Click() = 0;
    virtual void cmdDel_Click() = 0;
    virtual void cmdClr_Click() = 0;
    virtual void mUndoDel_Click() = 0;
    // The selected entry, -1 when none.
    virtual int listIndex() const = 0;

    // Preview.
    virtual void lstFile_Click() = 0;
    // Whether the preview shows a processed picture.
    virtual bool previewShown() const = 0;
    // The processed picture at full size as last rendered.
    virtual QImage previewPicture() const = 0;
    // The picture-move mode: marker in the middle of the preview, blinking.
    virtual void enterMoveMode() = 0;
    virtual void showDescriptionBox() = 0;
    virtual void showToolPanel(ToolPanel panel) = 0;

    // Settings panel: each text set here runs the box's change handler.
    virtual void focusWidthBox() = 0;
    virtual void setStartPointTexts(const QString& x, const QString& y) = 0;
    virtual void setChannelText(int channel, const QString& text) = 0;
    virtual void setMatrixCellText(int cell, const QString& text) = 0;
    // Shows the colour-matrix panel; its Cancel returns to the matrix of this moment.
    virtual void showMatrixPanel() = 0;
    virtual void showBrightnessPanel() = 0;
    // The text-watermark dialog: OK with a text ticks the switch; the
    // preview is drawn again either way.
    virtual void editTextWatermark() = 0;
    // Ticks the picture watermark's switch (its click handling runs when it changes).
    virtual void checkPictureWatermark() = 0;
    virtual void setPrefixText(const QString& text) = 0;
    // The panel's watermark opacity box (its change handler applies it).
    virtual void setOpacityText(const QString& text) = 0;
    virtual void cmdODir_Click() = 0;

    // Shows the chooser modally; the dialog's result.
    virtual int execChooser(frmDlg& dlg) = 0;
};
