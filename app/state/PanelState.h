#pragma once

#include <QString>

// The values of the main window's settings-panel controls and menus that the
// picture pipeline and the batch run read. The window keeps them current; a
// run or a benchmark can fill them without any window.
struct PanelState {
    QString txtW = QStringLiteral("800");  // size texts
    QString txtH = QStringLiteral("600");
    int cmbSizeCount = 0;        // entries in the size choice (the last is the typed-in size)
    int cmbPos = 0;              // text watermark position choice
    int cmbPosImg = 0;           // picture watermark position choice
    int chkInfoTxt = 0;          // text watermark on
    int chkInfoImg = 0;          // picture watermark on
    QString cmbEncode;           // format choice text
    int chkRM = 0;               // rename on
    QString txtNum = QStringLiteral("4");  // digits of the rename counter
    int chkFtp = 0;              // upload on
    int chkPDF = 0;              // PDF book on
    bool mTXUndo = true;         // "no effect" checked
    int mTX = -1;                // checked effect item 0..12; -1 none
    int sldLD = 0;               // brightness slider (effect 12)
    bool operator==(const PanelState&) const = default;
};
