#pragma once

#include <QUrl>

#include "platform/shell/Shell.h"

// QDesktopServices for opening, a detached QProcess for starting.
class DesktopShell : public Shell {
public:
    bool open(const QString& target) override;
    bool start(const QString& program, const QStringList& arguments) override;

    // The address a target stands for: a URL when it has a scheme of two or
    // more letters, else a local file (relative paths taken from the current folder).
    static QUrl targetUrl(const QString& target);
};
