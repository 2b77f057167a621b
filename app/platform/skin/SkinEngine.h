#pragma once

#include <QString>

// Skins every window of the program. A skin file that holds a Qt style sheet
// is applied to the whole application; any other file, or none, leaves the
// look as it is. The second argument is kept for callers and ignored; the
// result means nothing to them either.
int SkinH_AttachEx(const QString& skinFile, const QString& second = QString());
