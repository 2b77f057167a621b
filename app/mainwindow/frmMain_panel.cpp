// The settings panel in the window: built into the frames along the top and
// over the preview, with the run buttons beside it, and what the panel asks
// of the window (selection, redraw, marker, menus, status line).
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include "mainwindow/frmMain.h"
#include "settings/SettingsPanel.h"
#include "settings/frmDlg.h"
#include "settings/menus/MenuCommands.h"
#include "state/AppState.h"
#include "widgets/ControlFactory.h"

void frmMain::buildSettingsPanel()
{
    PanelFrames frames;
    frames.size = NiceContainr2;
    frames.watermarks = NiceContainr3;
    frames.output = NiceContainr4;
    frames.colours = NiceContainr5;
    frames.preview = picImg;
    frames.toolStrip = Frame4;
    panel = new SettingsPanel(app, settings_, prompter_, shell_, *this, frames, this);
    panel->execChooser = [this](frmDlg& dlg) { return execChooser(dlg); };
    cmdDone = makeCaptioned<QPushButton>(NiceContainr5, QStringLiteral("cmdDone"), QStringLiteral("开始处理"), {8, 70, 170, 44});
    cmdStop = makeCaptioned<QPushButton>(NiceContainr5, QStringLiteral("cmdStop"), QStringLiteral("停止"), {8, 120, 170, 30});
    cmdStop->setEnabled(false);
}

bool frmMain::previewShown() const
{
    return !imgM->isHidden() && !imgM->pixmap().isNull();
}

void frmMain::focusList()
{
    lstFile->setFocus();
}

void frmMain::showTip(const QString& text)
{
    app.status.show(text);
}

void frmMain::showPictureTip()
{
    app.status.show(preview_.pictureLine());
}

void frmMain::positionChosen(bool picture, bool freePosition)
{
    menus->mXYPos->setEnabled(false);
    const MarkHit which = picture ? MarkHit::Picture : MarkHit::Text;
    if (freePosition) {
        marker_->markFreePosition(which, preview_.markScene());
        picImg->setFocus();
    } else {
        marker_->markPresetPosition(which, preview_.markScene());
    }
}

void frmMain::popupPrefixMenu(QPoint global)
{
    menus->mFN->popup(global);
}

void frmMain::popupEffectsMenu(QPoint global)
{
    menus->mX->popup(global);
}
