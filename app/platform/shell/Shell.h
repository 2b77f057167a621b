#pragma once

#include <QString>
#include <QStringList>

// Opening files, folders and addresses with the desktop's own programs, and
// starting a program with an argument list. Never through a shell command
// line, so a path with blanks or quotes stays one argument.
class Shell {
public:
    virtual ~Shell() = default;
    // A local file or folder path, or an address with a scheme ("http://...").
    virtual bool open(const QString& target) = 0;
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
};
