#include "viewer/ViewBackColor.h"

namespace viewbackcolor {

namespace {

struct Entry {
    const char* caption;
    int r, g, b;
};

const Entry kEntries[kCount] = {
    {"黑色", 0, 0, 0},     {"白色", 255, 255, 255}, {"灰色", 125, 125, 125}, {"红色", 255, 0, 0},
    {"蓝色", 0, 0, 255},   {"绿色", 0, 255, 0},     {"黄色", 255, 255, 0},
};

} // namespace

int valid(int index)
{
    return index >= 0 && index < kCount ? index : 0;
}

QColor colour(int index)
{
    const Entry& e = kEntries[valid(index)];
    return QColor(e.r, e.g, e.b);
}

int fromSetting(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? valid(value) : 0;
}

QString caption(int index)
{
    return QString::fromUtf8(kEntries[valid(index)].caption);
}

} // namespace viewbackcolor
