#pragma once

#include <vector>

#include "platform/shell/Shell.h"

// Records what would have been opened or started; answers with `succeed`.
class RecordingShell : public Shell {
public:
    struct Start {
        QString program;
        QStringList arguments;
    };

    bool open(const QString& target) override
    {
        opened.push_back(target);
        return succeed;
    }
    bool start(const QString& program, const QStringList& arguments) override
    {
        started.push_back({program, arguments});
        return succeed;
    }

    std::vector<QString> opened;
    std::vector<Start> started;
    bool succeed = true;
};
