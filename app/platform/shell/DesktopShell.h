#pragma once

#include <QUrl>

#include "platform/shell/Shell.h"

// The desktop's opener (xdg-open) for opening, a detached QProcess for
// starting. The opener runs as a child that is watched, not waited for: when
// it ends with an error the target is reported through onFailure. An opener
// still running when the program ends is left to run.
class DesktopShell : public Shell {
public:
    // `opener` is the program given each target; tests name another.
    explicit DesktopShell(QString opener = QStringLiteral("xdg-open")) : opener_(std::move(opener)) {}

    bool open(const QString& target) override;
    bool start(const QString& program, const QStringList& arguments) override;

    // The address a target stands for: a URL when it has a scheme of two or
    // more letters, else a local file (relative paths taken from the current folder).
    static QUrl targetUrl(const QString& target);

private:
    QString opener_;
};
