#include "settings/menus/StartPointAnswer.h"

#include <QStringList>

#include "state/NumberText.h"

std::optional<QPointF> parseStartPoint(const QString& answer)
{
    if (answer.size() < 3)
        return std::nullopt;
    const QStringList parts = answer.split(QLatin1Char(','));
    if (parts.size() < 2)
        return std::nullopt;
    const auto x = numtext::toSingle(parts[0]);
    const auto y = numtext::toSingle(parts[1]);
    if (!x || !y || *x < 0 || *y < 0)
        return std::nullopt;
    return QPointF(*x, *y);
}

QString startPointText(float x, float y)
{
    return numtext::fromDouble(x) + QLatin1Char(',') + numtext::fromDouble(y);
}
