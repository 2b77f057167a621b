#pragma once

#include <QString>

// Where the program's files live. Read-only resources ("size.ini", "bk", "skin")
// come with the program: from the executable's folder when they lie there (a
// build tree, a portable copy), else from <prefix>/share/vimo. Writable working
// folders ("zp", "user") lie beside the executable when its folder is writable,
// else in the per-user application data folder; VIMO_HOME moves them (and only
// them) elsewhere.
class ProgramFolders {
public:
    // The folder that holds the resources.
    static QString resourceDir();
    // Takes the resources from `dir` instead, for tests and harnesses that bring
    // their own; an empty `dir` goes back to the program's own.
    static void setResourceDir(const QString& dir);
    // Where a program whose executable lies in `exeDir` finds its resources.
    static QString resourceDirBeside(const QString& exeDir);
    // The folder that holds the working folders; what the program calls its own folder.
    static QString workDir();

    static QString outputDir();   // "zp": default output folder
    static QString userDir();     // "user": temporary and captured pictures
    static QString borderDir();   // "bk": border pictures
    static QString skinDir();     // "skin": skin files
    static QString sizeFile();    // "size.ini": one custom size per line

    // Creates "zp" and "user" under workDir(); false when either cannot be made.
    static bool ensureWorkingFolders();

    // The folder the running executable lies in.
    static QString executableDir();
};
