#pragma once

#include "state/MainWindowState.h"
#include "state/ModuleState.h"
#include "state/PanelState.h"
#include "state/PictureList.h"
#include "state/ProgramState.h"
#include "state/StatusLine.h"

// Everything the program shares between its windows and modules, owned by
// one object that lives from start to exit and is passed by reference.
struct AppState {
    ProgramState ps;
    PictureModuleState pic;
    UploadModuleState ftp;
    RotateModuleState rot;
    MainModuleState main;
    PanelState panel;
    MainWindowState win;
    PictureList list;
    StatusLine status;
};
