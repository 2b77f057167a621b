#pragma once

#include <QString>

// Where the program's files live. Read-only resources ("size.ini", "bk", "skin")
// and writable working folders ("zp", "user") share the executable's folder when
// that folder is writable (a build tree, a portable copy). When installed, the
// resources come from <prefix>/share/vimo and the working folders from the
// per-user application data folder. VIMO_HOME overrides both.
class ProgramFolders {
public:
    // The folder that holds the resources.
    static QString resourceDir();
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
