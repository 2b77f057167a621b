#pragma once

#include <QString>

class SettingsStore;
struct UploadModuleState;

// The FTP target as the settings file keeps it: server, user, remote root and
// folder and web address always; the password only when the user asked to
// remember it, and then the file is made readable by its owner only.

// Reads the stored target into the upload state; absent keys leave the start
// values. True when a password was stored (so "remember" is on).
bool loadFtpTarget(UploadModuleState& ftp, const SettingsStore& store);

// Writes the target and syncs; false when the file could not be written or
// protected.
bool saveFtpTarget(SettingsStore& store, const UploadModuleState& ftp, bool rememberPassword);

// Checks a typed server, "host" or "host:port" (an "ftp://" before it and a
// "/" after it are dropped). Gives the server to store, or an empty text and
// the message for the user in `problem`.
QString checkedFtpServer(const QString& typed, QString& problem);
