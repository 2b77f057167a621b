#pragma once

#include <QPointF>
#include <QString>
#include <optional>

// The answer typed into the start-point box ("X,Y", in pixels of the output
// canvas). Only an answer of at least three characters whose first two
// comma-separated parts are numbers of 0 or more counts; further parts are
// ignored. Anything else (cancelled, too short, negative, no comma, not a
// number) gives nothing, so the start point stays as it was.
std::optional<QPointF> parseStartPoint(const QString& answer);

// The box's suggested answer: the current start point as "X,Y".
QString startPointText(float x, float y);
