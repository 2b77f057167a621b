#include <QApplication>
#include <csignal>
#include <memory>

#include "mainwindow/ProgramLook.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmSplash.h"
#include "platform/prompter/DialogPrompter.h"
#include "platform/shell/DesktopShell.h"
#include "platform/skin/SkinEngine.h"
#include "state/AppState.h"
#include "store/SettingsStore.h"

namespace {

const QString kCannotStart = QStringLiteral(
    "程序未能正常运行。请双击【注册组件.bat】后再试。如果还不能解决，请详细阅读【ReadMe.txt】安装部分。");

} // namespace

int main(int argc, char** argv)
{
    // A write to a reader that has gone (a closed standard output, a server
    // that hung up) is a failed write, not the end of the program.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication qapp(argc, argv);
    programlook::apply(qapp);
    AppState app;
    DialogPrompter prompter;
    DesktopShell shell;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<frmMain> window;
    try {
        // Every argument after the program's name is one picture path.
        app.main.vCmdLine = qapp.arguments().mid(1);
        settings = std::make_unique<SettingsStore>();
        // The splash window's load: the skin from the settings, its result unused.
        loadSkinFileName(app.ps, *settings);
        SkinH_AttachEx(app.ps.sSkinFileName, QString());
        auto* splash = new frmSplash(app, [&] {
            try {
                window = std::make_unique<frmMain>(app, *settings, prompter, shell);
                prompter.setParent(window.get());
                window->Form_Load();
                window->show();
            } catch (const std::exception&) {
                prompter.message(kCannotStart, QString(), PromptIcon::Critical);
                QCoreApplication::exit(1);
            }
        });
        splash->show();
    } catch (const std::exception&) {
        prompter.message(kCannotStart, QString(), PromptIcon::Critical);
        return 1;
    }
    const int code = qapp.exec();
    window.reset();
    return code;
}
