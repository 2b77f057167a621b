#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Opening files, folders and addresses with the desktop's own programs, and
// starting a program with an argument list. Never through a shell command
// line, so a path with blanks or quotes stays one argument.
class Shell {
public:
    virtual ~Shell() = default;
    // A local file or folder path, or an address with a scheme ("http://...").
    // False when the desktop's opener could not even be started.
    virtual bool open(const QString& target) = 0;
    virtual bool start(const QString& program, const QStringList& arguments) = 0;

    // Told the target (or program) that the desktop could not open (or
    // start): at once by the helpers when a call returns false, and later by
    // the shell itself when its opener ends with an error.
    std::function<void(const QString& target)> onFailure;
    void failed(const QString& target) const
    {
        if (onFailure)
            onFailure(target);
    }
};
