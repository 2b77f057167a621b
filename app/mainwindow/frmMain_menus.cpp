// The window's side of the menus: the menu commands live in settings/menus
// and reach the window only through this link.
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include "mainwindow/frmMain.h"
#include "settings/SettingsPanel.h"
#include "settings/menus/MenuCommands.h"
#include "settings/menus/MenuHost.h"
#include "state/AppState.h"

struct frmMain::MenuLink : MenuHost {
    explicit MenuLink(frmMain& window) : w(window) {}

    QMainWindow* mainWindow() override { return &w; }

    void cmdAdds_Click() override { w.cmdAdds_Click(); }
    void cmdAdd_Click() override { w.cmdAdd_Click(); }
    void cmdDel_Click() override { w.cmdDel_Click(); }
    void cmdClr_Click() override { w.cmdClr_Click(); }
    void mUndoDel_Click() override { w.mUndoDel_Click(); }
    int listIndex() const override { return w.listIndex(); }

    void lstFile_Click() override { w.lstFile_Click(); }
    bool previewShown() const override { return w.previewShown(); }
    QImage previewPicture() const override { return w.preview_.workPicture(); }
    void enterMoveMode() override
    {
        w.marker_->enterMoveMode(QSizeF(w.picImg->size()));
        w.picImg->setFocus();
    }
    void showDescriptionBox() override
    {
        w.txtPicTxt->show();
        w.txtPicTxt->setFocus();
    }
    void showToolPanel(ToolPanel which) override { (which == ToolPanel::Top ? w.Frame4 : w.Frame3)->show(); }

    void focusWidthBox() override
    {
        w.panel->txtW->setFocus();
        w.panel->txtW->selectAll();
    }
    void setStartPointTexts(const QString& x, const QString& y) override
    {
        w.panel->txtXp->setText(x);
        w.panel->txtYp->setText(y);
    }
    void setChannelText(int channel, const QString& text) override { w.panel->txtRGB[size_t(channel)]->setText(text); }
    void setMatrixCellText(int cell, const QString& text) override { w.panel->Text1[size_t(cell)]->setText(text); }
    void showMatrixPanel() override { w.panel->showColourMatrix(); }
    void showBrightnessPanel() override
    {
        w.panel->frmTZ->show();
        w.panel->frmTZ->raise();
    }
    void editTextWatermark() override { w.panel->editTextWatermark(); }
    void checkPictureWatermark() override { w.panel->chkInfoImg->setChecked(true); }
    void setPrefixText(const QString& text) override { w.panel->txtFileName->setText(text); }
    void setOpacityText(const QString& text) override { w.panel->txtAlpha->setText(text); }
    void cmdODir_Click() override { w.panel->cmdODir_Click(); }

    int execChooser(frmDlg& dlg) override { return w.execChooser(dlg); }

    frmMain& w;
};

void frmMain::buildMenus()
{
    menuLink_ = std::make_shared<MenuLink>(*this);
    menus = new MenuCommands(app, settings_, prompter_, shell_, *menuLink_);
    panel->setCommands(menus);
    menus->showViewer = [this] { openViewer(); };
    menus->showScreenGrab = [this] { openScreenGrab(); };
    menus->showWebcam = [this] { openWebcam(); };
}
