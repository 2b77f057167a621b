// File menu "文件(&F)": the list commands forward to the window; the screen
// grab and the webcam open their windows; exit closes the program.
#include <QAction>
#include <QMainWindow>

#include "settings/menus/MenuCommands.h"
#include "settings/menus/MenuHost.h"
#include "state/AppState.h"

void MenuCommands::mCopySrc2_Click()
{
    if (!showScreenGrab) {
        app.status.show(QStringLiteral("【提示】本版本尚未提供屏幕截图窗口。"));
        return;
    }
    // The grab window shows the main window again when it closes.
    host_.mainWindow()->hide();
    showScreenGrab();
}

void MenuCommands::mCap_Click()
{
    app.status.show(QStringLiteral("【提示】请确保摄像头已经与您的电脑连接好。"));
    if (!showWebcam) {
        app.status.show(QStringLiteral("【提示】本版本尚未提供摄像头拍照窗口。"));
        return;
    }
    showWebcam();
}

void MenuCommands::mExit_Click()
{
    // Ends the way the close box does, so the settings are saved and the
    // temporary files go; a running batch refuses to close and nothing ends.
    if (host_.mainWindow()->close() && quit)
        quit();
}
