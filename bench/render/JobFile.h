#pragma once

#include <QString>

struct AppState;

// Fills the state from the group [Job] of an INI file whose keys are the
// names of the state fields and settings-panel controls; a key left out
// keeps its start value. False when the file cannot be read.
bool loadJob(const QString& path, AppState& st, QString& error);

// The group [Descriptions]: keys are the pictures' positions on the command
// line counting from 1, values their descriptions (the book's page texts).
void loadDescriptions(const QString& path, AppState& st);
