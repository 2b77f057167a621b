#pragma once

struct AppState;

// The values the main window's load gives the state before it reads the
// settings: the error-log header, no border or watermark file, watermark scale
// 1, the output folder "zp", the file-name prefix, the colour matrices
// (watermark opacity 0.8 until the stored one is read) and the FTP target
// prompts.
void setStartValues(AppState& app);
