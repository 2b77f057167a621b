#pragma once

#include <QString>
#include <vector>

#include "processing/RenderSettings.h"

struct AppState;

// One picture of a run: its path and the description the user gave it, as
// they stood when the run started.
struct RunEntry {
    QString path;
    QString description;
};

// Where the results of a run are uploaded.
struct UploadTarget {
    QString server, user, password;
    QString folder;      // remote folder below the root
    QString root;        // remote path before the folder
    QString webAddress;  // address that serves the uploaded folder tree
};

// Everything a batch run reads, taken once when it starts: the list, the
// render settings and what the saving, the upload, the page and the book
// need. The run reads nothing else of the program, so what the user changes
// while it runs applies to the next run, and nothing the run does changes
// what the window shows.
struct RunRequest {
    std::vector<RunEntry> entries;
    RenderSettings render;

    QString outDir;        // output folder
    QString format;        // the format choice: "原格式" (each source's own), "bmp", "jpg", "png"...
    bool rename = false;   // results named prefix + counter
    QString prefix;
    QString counterDigits;  // digits of the counter, as typed
    int jpegQuality = 90;

    bool upload = false;
    UploadTarget target;
    bool pageShowsPictures = false;   // the upload page shows each picture
    bool pageShowsAddresses = false;  // and lists its address
    bool openOutputFolder = false;    // after the run
    bool openPage = false;            // after a run with upload

    bool pdf = false;
    QString pdfTitle, pdfSignature, pdfDate;

    bool saveErrorLog = false;
};

RunRequest makeRunRequest(const AppState& st);
