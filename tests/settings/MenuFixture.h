#pragma once

#include <QAction>
#include <QGroupBox>
#include <QMenu>

#include "../mainwindow/MainWindowFixture.h"
#include "settings/frmDlg.h"
#include "settings/frmOption.h"
#include "settings/frmTxtSet.h"
#include "settings/menus/MenuCommands.h"

// A loaded main window whose menus open recorders in place of the viewer,
// capture windows and dialogs.
class MenuFixture : public MainWindowFixture {
protected:
    frmMain& openWindow(const QStringList& pictures = {})
    {
        frmMain& w = open(pictures);
        MenuCommands& m = *w.menus;
        m.showViewer = [this] {
            ++viewerOpened;
            viewerSaw = {app->ps.iPicSource, app->ps.iPicMode, app->ps.bCutMode};
        };
        m.showScreenGrab = [this] { ++grabOpened; };
        m.showWebcam = [this] { ++webcamOpened; };
        m.execOptions = [this](frmOption& dlg) {
            optionsTitle = dlg.windowTitle();
            optionsPdfPage = dlg.framePDF->isVisibleTo(&dlg);
            optionsGeneralPage = dlg.frameSet->isVisibleTo(&dlg);
            ++optionsOpened;
            return int(QDialog::Rejected);
        };
        m.quit = [this] { ++quits; };
        w.panel->execTextDialog = [this](frmTxtSet&) {
            ++textDialogOpened;
            return int(QDialog::Rejected);
        };
        w.execChooser = [this](frmDlg& dlg) {
            chooserModes.push_back(app->ps.iDlgMode);
            return chooserAnswer ? chooserAnswer(dlg) : int(QDialog::Rejected);
        };
        return w;
    }

    MenuCommands& menus() { return *window->menus; }

    struct ViewerFields {
        int source = -1, mode = -1;
        bool cutMode = false;
    };
    int textDialogOpened = 0, viewerOpened = 0, grabOpened = 0, webcamOpened = 0, optionsOpened = 0, quits = 0;
    ViewerFields viewerSaw;
    QString optionsTitle;
    bool optionsPdfPage = false, optionsGeneralPage = false;
    std::vector<int> chooserModes;
    std::function<int(frmDlg&)> chooserAnswer;
};
