#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "platform/imaging/ColorMatrix.h"

// Variables of the picture drawing module.
struct PictureModuleState {
    ColorMatrix cmPic = ColorMatrix::identity();  // the picture is drawn through it
    ColorMatrix cmSy = ColorMatrix::identity();   // the picture watermark; [3][3] is its opacity
    float sngXp = 0, sngYp = 0;  // start point: offset at which the picture is drawn into the canvas
    bool operator==(const PictureModuleState&) const = default;
};

// Variables of the upload module: the FTP target. A run keeps the addresses
// it uploaded in its own outcome.
struct UploadModuleState {
    QString sFtpServer, sFtpUser, sFtpPass, sFtpDir, sWebURL, sFtpRoot;
};

// Variables of the rotation module.
struct RotateModuleState {
    int iRotateMode = 0;  // index of the chosen rotation-menu entry; 0 no rotation
    bool operator==(const RotateModuleState&) const = default;
};

// The command line as the program received it: one argument per path.
struct MainModuleState {
    QStringList vCmdLine;
};
