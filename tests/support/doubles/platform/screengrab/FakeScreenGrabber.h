#pragma once

#include "platform/screengrab/ScreenGrabber.h"

// Hands out a fixed photograph (or an error) and counts the requests.
class FakeScreenGrabber : public ScreenGrabber {
public:
    ScreenShot grab() override
    {
        ++grabs;
        return shot;
    }

    ScreenShot shot;
    int grabs = 0;
};
