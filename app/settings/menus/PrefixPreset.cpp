#include "settings/menus/PrefixPreset.h"

QString prefixPreset(const QString& caption, const QDateTime& now)
{
    const char* const formats[] = {"yyyyMMdd_", "HHmmss_", "yyyyMMddHHmmss_"};
    for (int i = 0; i < 3; ++i)
        if (caption == QString::fromUtf8(kPrefixCaptions[i]))
            return now.toString(QString::fromLatin1(formats[i]));
    return {};
}
