#pragma once

#include <QString>
#include <cstdint>
#include <memory>

class CDIB;

// The first line of every run's error log.
inline const QString kErrLogHeader =
    QStringLiteral("在本次操作过程中产生下列错误,敬请检查相关图片:\r\n");

// The program's shared record: settings, output target, dialog and viewer
// modes, watermark positions and the bitmap surfaces.
// Every field starts zero, empty or false; the main window's load gives the
// start values and the settings store the saved ones.
struct ProgramState {
    QString sODIR;          // folder last confirmed in the chooser; "" after a cancelled folder choice
    QString sPicFile;       // full path of the current picture
    QString sOutDir;        // output folder of a run
    QString sPrefix;        // file-name prefix when renaming is on
    int iDlgMode = 0;       // chooser mode: 0 folder, 1 picture files, 2 watermark file, 4 skin file
    int iPicSource = 0;     // viewer shows: 0 the file sPicFile, 1 the processed preview
    int iPicMode = 0;       // viewer: 0 one picture, 1 thumbnail strip, 2 slide show
    double iuTSyX = 0, iuTSyY = 0;  // text watermark's top left, fractions of the output size
    double iuISyX = 0, iuISyY = 0;  // picture watermark's position, fractions of the output size
    QString sText;          // text of the text watermark; "" when none
    int iSize = 0;          // font size of the text watermark, points
    int32_t lColor = 0;     // colour of the text watermark, 0x00BBGGRR
    QString sFont;          // font name of the text watermark
    bool sBold = false, sUnderline = false, sItalic = false;
    int iuSize = 0, iuBk = 0;       // saved size and border choice, used while the window loads
    QString suISyF;                 // saved picture-watermark file, used while the window loads
    float sngISyX = 0, sngISyY = 0, sngTSyX = 0, sngTSyY = 0;  // fractions as read from the settings
    QString sSyFile;        // picture-watermark file; "" when none
    QString sBkFile;        // border picture file; "" or "无边框" when none
    bool bMarkIsImg = false;  // the preview marker moves the picture watermark (else the text one)
    uint8_t iJPGQ = 0;      // JPEG quality 1..100
    QString sOutFormat;     // "原格式", "jpg", "png", "tiff" or "bmp"
    int iSlideTime = 0;     // slide-show interval, seconds
    int bAutoODir = 0;      // open the output folder after a run
    int bAutoURL = 0;       // open the upload page after a run with upload
    int bShowURL = 0;       // the upload page lists each picture's address
    int bShowURLPic = 0;    // the upload page shows each picture
    int bSaveErr = 0;       // write the error log after a run with errors
    int bShowToday = 0;     // show the news panel
    QString sNewsURL;       // address of the news page of the web panel; "" shows none
    int bPicJQ = 0;         // proportions differ: 1 crop, 0 pad onto a larger canvas
    int iSizeMode = 0;      // size choice: 0 width limit, 1 border size, 2 source size, 3.. sizes file, last typed in
    int iReady = 0;         // 1 once the main window has finished loading
    int bNewVer = 0;        // options dialog's hidden switch; stored only
    int iXCutMode = 0;      // crop anchor: 0 left, 1 middle, 2 right
    int iYCutMode = 0;      // crop anchor: 0 top, 1 middle, 2 bottom
    float sngSyScale = 1.0f;  // picture watermark scale, not saved; a zero scale would hide the watermark
    float sngSyW = 0;       // picture watermark width as last drawn, pixels
    int iuSYAlpha = 0;      // picture watermark opacity, percent, as loaded
    float sngSyH = 0;       // picture watermark height as last drawn, pixels
    bool bCutMode = false;  // the viewer opens with its crop tool active
    bool bConfirmOK = false;  // answer of the confirmation box
    bool bSubFolder = false;  // adding a folder includes its sub-folders
    QString sPDF1;          // PDF title
    QString sPDF2;          // PDF signature
    QString sPDF3;          // PDF date text
    QString sSkinFileName;  // skin file
    std::shared_ptr<CDIB> dibSrc, dibWork, dibSpare, dibTemp;
    bool operator==(const ProgramState&) const = default;
};
