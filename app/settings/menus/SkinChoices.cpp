#include "settings/menus/SkinChoices.h"

#include "platform/folders/ProgramFolders.h"

namespace {

struct Skin {
    const char* caption;
    const char* file;
};

const Skin kSkins[kSkinChoices] = {
    {"浅蓝(默认)", "浅蓝(默认).she"},
    {"银灰", "银灰.she"},
    {"Aero皮肤", "Aero皮肤.she"},
    {"经典黑皮肤", "经典黑皮肤.she"},
    {"其他皮肤...", nullptr},
};

} // namespace

QString skinCaption(int index)
{
    return index >= 0 && index < kSkinChoices ? QString::fromUtf8(kSkins[index].caption) : QString();
}

QString skinFile(int index)
{
    if (index < 0 || index >= kSkinChoices || !kSkins[index].file)
        return {};
    return ProgramFolders::skinDir() + QLatin1Char('/') + QString::fromUtf8(kSkins[index].file);
}
