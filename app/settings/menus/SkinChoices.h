#pragma once

#include <QString>

// The skin menu: four skins shipped in the program's "skin" folder and a
// last entry that lets the user choose a skin file.
inline constexpr int kSkinChoices = 5;
inline constexpr int kOtherSkin = 4;

QString skinCaption(int index);
// The shipped skin's full path; "" for the chooser entry or a bad index.
QString skinFile(int index);
