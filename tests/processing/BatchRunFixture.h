#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <string>

#include "platform/prompter/RecordingPrompter.h"
#include "platform/shell/RecordingShell.h"
#include "processing/BatchRun.h"
#include "state/AppState.h"

// A batch run without a window, as the window starts one: the program state
// with its start values, an output folder "out" in a temporary folder, JPEG
// results 400 pixels wide named by the counter, error logging on, a yield
// that does nothing and a prompter that answers every question with no.
// Each test changes what its case needs before start().
struct BatchRunFixture {
    QTemporaryDir dir;
    AppState st;
    RecordingPrompter prompter;
    RecordingShell shell;
    BatchRun run{prompter, shell, st.status};

    BatchRunFixture();

    // Starts a run with the request the state makes now.
    bool start();

    QString src(const QString& name) const;
    QString out(const QString& name) const;
    // The files of the output folder by name, hidden ones included.
    QStringList outputs() const;
    // A file of the output folder as text; "" when it cannot be read.
    QString outText(const QString& name = QStringLiteral("ErrorLog.txt")) const;
    // The file the last run saved for entry `i`; "" when none.
    QString result(int i) const;
    // A picture of one colour made by ImageMagick, added to the list.
    void convert(const QString& name, const std::string& size = "800x600",
                 const std::string& colour = "rgb(30,120,200)");
    // A noisy picture made by ImageMagick (noise keeps it from compressing
    // to nothing); `format` forces the file's kind whatever its name.
    QString noise(const QString& path, const std::string& size = "160x120", const char* format = nullptr);
};

QByteArray readAll(const QString& path);
QByteArray checksum(const QString& path);
