#include "platform/wallpaper/DesktopWallpaper.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

bool onDesktop(const QString& desktop, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        if (desktop.contains(QLatin1String(name), Qt::CaseInsensitive))
            return true;
    return false;
}

DesktopWallpaper::Result runProcess(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(5000))
        return {};
    // A desktop tool that hangs must not freeze the program.
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}

} // namespace

DesktopWallpaper::DesktopWallpaper()
    : DesktopWallpaper(
          qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
          [](const QString& program) { return !QStandardPaths::findExecutable(program).isEmpty(); },
          runProcess)
{
}

DesktopWallpaper::DesktopWallpaper(QString desktop, ToolFinder haveTool, Runner run)
    : desktop_(std::move(desktop)), haveTool_(std::move(haveTool)), run_(std::move(run))
{
}

bool DesktopWallpaper::set(const QString& path, WallpaperStyle style)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    if (onDesktop(desktop_, {"GNOME", "Unity", "Budgie", "Pantheon", "Cinnamon"}) && haveTool_(QStringLiteral("gsettings")))
        return setGnome(QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded), style);
    if (onDesktop(desktop_, {"XFCE"}) && haveTool_(QStringLiteral("xfconf-query")))
        return setXfce(file, style);
    if (onDesktop(desktop_, {"KDE"}) && haveTool_(QStringLiteral("plasma-apply-wallpaperimage")))
        return run_(QStringLiteral("plasma-apply-wallpaperimage"), {file}).exitCode == 0;
    if (haveTool_(QStringLiteral("feh"))) {
        const QString mode = style == WallpaperStyle::Tiled ? QStringLiteral("--bg-tile")
            : style == WallpaperStyle::Stretched           ? QStringLiteral("--bg-scale")
                                                           : QStringLiteral("--bg-center");
        return run_(QStringLiteral("feh"), {mode, file}).exitCode == 0;
    }
    return false;
}

bool DesktopWallpaper::setGnome(const QString& uri, WallpaperStyle style)
{
    const QString gsettings = QStringLiteral("gsettings");
    const QString schema = onDesktop(desktop_, {"Cinnamon"}) ? QStringLiteral("org.cinnamon.desktop.background")
                                                             : QStringLiteral("org.gnome.desktop.background");
    const QString options = style == WallpaperStyle::Tiled ? QStringLiteral("wallpaper")
        : style == WallpaperStyle::Stretched             ? QStringLiteral("stretched")
                                                         : QStringLiteral("centered");
    bool ok = run_(gsettings, {QStringLiteral("set"), schema, QStringLiteral("picture-options"), options}).exitCode == 0;
    ok = run_(gsettings, {QStringLiteral("set"), schema, QStringLiteral("picture-uri"), uri}).exitCode == 0 && ok;
    // Newer GNOME keeps a second picture for the dark style; older ones lack the key.
    run_(gsettings, {QStringLiteral("set"), schema, QStringLiteral("picture-uri-dark"), uri});
    return ok;
}

bool DesktopWallpaper::setXfce(const QString& path, WallpaperStyle style)
{
    const QString xfconf = QStringLiteral("xfconf-query");
    const QString channel = QStringLiteral("xfce4-desktop");
    // Xfce keeps one picture per monitor and workspace; set every one there is.
    const Result list = run_(xfconf, {QStringLiteral("-c"), channel, QStringLiteral("-l")});
    if (list.exitCode != 0)
        return false;
    const QString imageStyle = style == WallpaperStyle::Tiled ? QStringLiteral("2")
        : style == WallpaperStyle::Stretched                ? QStringLiteral("3")
                                                            : QStringLiteral("1");
    bool any = false, ok = true;
    for (const QString& line : list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString property = line.trimmed();
        if (!property.endsWith(QLatin1String("/last-image")))
            continue;
        any = true;
        const QString styleProperty = property.left(property.size() - int(sizeof("last-image") - 1)) + QStringLiteral("image-style");
        ok = run_(xfconf, {QStringLiteral("-c"), channel, QStringLiteral("-p"), property, QStringLiteral("-s"), path}).exitCode == 0 && ok;
        ok = run_(xfconf, {QStringLiteral("-c"), channel, QStringLiteral("-p"), styleProperty, QStringLiteral("-s"), imageStyle}).exitCode == 0 && ok;
    }
    return any && ok;
}
