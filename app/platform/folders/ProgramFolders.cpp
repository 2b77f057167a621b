#include "platform/folders/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString homeOverride()
{
    const QString home = qEnvironmentVariable("VIMO_HOME");
    return home.isEmpty() ? QString() : QDir(home).absolutePath();
}

bool isPortable()
{
    const QFileInfo dir(ProgramFolders::executableDir());
    return dir.isDir() && dir.isWritable();
}

QString& resourceOverride()
{
    static QString dir;
    return dir;
}

} // namespace

QString ProgramFolders::executableDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}

QString ProgramFolders::resourceDir()
{
    if (!resourceOverride().isEmpty())
        return resourceOverride();
    return resourceDirBeside(executableDir());
}

QString ProgramFolders::resourceDirBeside(const QString& exeDir)
{
    // A build tree or a portable copy carries its resources beside the executable.
    const QDir dir(exeDir);
    for (const char* name : {"size.ini", "bk", "skin"})
        if (dir.exists(QString::fromLatin1(name)))
            return dir.absolutePath();
    return QStringLiteral(VIMO_INSTALL_DATADIR);
}

void ProgramFolders::setResourceDir(const QString& dir)
{
    resourceOverride() = dir.isEmpty() ? QString() : QDir(dir).absolutePath();
}

QString ProgramFolders::workDir()
{
    if (const QString home = homeOverride(); !home.isEmpty())
        return home;
    if (isPortable())
        return executableDir();
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(data).filePath(QStringLiteral("Vimo"));
}

QString ProgramFolders::outputDir() { return QDir(workDir()).filePath(QStringLiteral("zp")); }
QString ProgramFolders::userDir() { return QDir(workDir()).filePath(QStringLiteral("user")); }
QString ProgramFolders::borderDir() { return QDir(resourceDir()).filePath(QStringLiteral("bk")); }
QString ProgramFolders::skinDir() { return QDir(resourceDir()).filePath(QStringLiteral("skin")); }
QString ProgramFolders::sizeFile() { return QDir(resourceDir()).filePath(QStringLiteral("size.ini")); }

bool ProgramFolders::ensureWorkingFolders()
{
    QDir work(workDir());
    return work.mkpath(QStringLiteral("zp")) && work.mkpath(QStringLiteral("user"));
}
