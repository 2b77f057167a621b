#pragma once

#include <deque>
#include <vector>

#include "platform/ftp/Uploader.h"

// Records every put and answers from a queue; Done when the queue is empty.
class RecordingUploader : public Uploader {
public:
    FtpStatus put(const FtpPut& request) override
    {
        puts.push_back(request);
        if (answers.empty())
            return FtpStatus::Done;
        const FtpStatus s = answers.front();
        answers.pop_front();
        return s;
    }

    std::vector<FtpPut> puts;
    std::deque<FtpStatus> answers;
};
