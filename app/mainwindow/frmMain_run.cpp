// The run buttons: start renders and saves every entry through the batch run,
// stop ends the run after the picture in hand. The run yields to the window
// between pictures, so the window stays alive; the list cannot be cleared or
// thinned meanwhile.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include "mainwindow/frmMain.h"
#include "settings/menus/MenuCommands.h"
#include "processing/BatchRun.h"
#include "processing/UploadHook.h"
#include "processing/pdf/PdfBookHook.h"
#include "settings/SettingsPanel.h"
#include "state/AppState.h"

struct frmMain::RunHolder {
    BatchRun run;
};

frmMain::~frmMain()
{
    app.status.setSink({});
}

void frmMain::setRunButtons(int state)
{
    const auto buttons = BatchRun::Buttons(state);
    // Start stays off until the run has really ended, also while it stops.
    cmdDone->setEnabled(buttons == BatchRun::Buttons::Idle);
    cmdStop->setEnabled(buttons == BatchRun::Buttons::Running);
}

BatchRun& frmMain::batchRun()
{
    if (run_)
        return run_->run;
    run_ = std::make_shared<RunHolder>(RunHolder{BatchRun(prompter_, shell_, app.status)});
    BatchRun& run = run_->run;
    run.setCaption = [this](const QString& text) { cmdDone->setText(text); };
    run.setButtons = [this](BatchRun::Buttons b) { setRunButtons(int(b)); };
    // Rendering must be on for the run, and stays on after it.
    run.previewOn = [this] {
        app.win.bPreviewOff = false;
        menus->showPreviewChecks();
    };
    run.isMinimised = [this] { return isMinimized(); };
    run.minimise = [this] { showMinimized(); };
    run.maximise = [this] { showMaximized(); };
    run.openAddFiles = [this] { cmdAdd_Click(); };
    run.focusWidth = [this] {
        panel->txtW->setFocus();
        panel->txtW->selectAll();
    };
    run.openOutputFolder = [this] { panel->cmdODir_Click(); };
    attachPdfBook(run, prompter_);
    attachUpload(run);
    return run;
}

void frmMain::cmdDone_Click()
{
    if (running_ || app.win.bScanning)
        return;
    // Upload on without a server: ask for it first; if the user gives none,
    // the run refuses with its own message.
    if (app.panel.chkFtp == 1 && !panel->ftpTargetSet())
        panel->askFtpTarget();
    running_ = true;
    batchRun().start(makeRunRequest(app));
    running_ = false;
    setRunButtons(int(BatchRun::Buttons::Idle));
    if (onRunFinished)
        onRunFinished();
}

void frmMain::cmdStop_Click()
{
    if (run_)
        run_->run.stop();
}
