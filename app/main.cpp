#include <QApplication>
#include <QMainWindow>

#include "platform/folders/ProgramFolders.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ProgramFolders::ensureWorkingFolders();
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vimo图片批处理" VIMO_VERSION "版"));
    window.show();
    return app.exec();
}
