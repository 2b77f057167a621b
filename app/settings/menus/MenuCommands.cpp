#include "settings/menus/MenuCommands.h"

#include <QCoreApplication>
#include <QMainWindow>

#include "settings/frmOption.h"
#include "settings/menus/MenuHost.h"
#include "state/AppState.h"

MenuCommands::MenuCommands(AppState& appState, SettingsStore& settings, Prompter& prompter, Shell& shell,
                           MenuHost& host)
    : QObject(host.mainWindow()), app(appState), settings_(settings), prompter_(prompter), shell_(shell), host_(host)
{
    setObjectName(QStringLiteral("menus"));
    execOptions = [](frmOption& dlg) { return dlg.exec(); };
    quit = [] { QCoreApplication::quit(); };
    buildMenuBar();
}
