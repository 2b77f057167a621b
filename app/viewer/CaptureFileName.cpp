#include "viewer/CaptureFileName.h"

#include <QFileInfo>

QString captureFileName(const QString& folder, const QString& prefix, const QDateTime& when,
                        const QString& suffix, const std::function<bool(const QString&)>& taken)
{
    return stampedFileName(folder, prefix, when, QStringLiteral("yyyyMMddHHmmss"), suffix, taken);
}

QString stampedFileName(const QString& folder, const QString& prefix, const QDateTime& when,
                        const QString& pattern, const QString& suffix,
                        const std::function<bool(const QString&)>& taken)
{
    const auto exists = taken ? taken : [](const QString& path) { return QFileInfo::exists(path); };
    const QString base = folder + QLatin1Char('/') + prefix + when.toString(pattern);
    QString path = base + suffix;
    for (int n = 1; exists(path); ++n)
        path = base + QLatin1Char('_') + QString::number(n) + suffix;
    return path;
}
