#pragma once

#include <QImage>

class CDIB;

// Number of the colour effects of the effects menu; 12 is brightness.
constexpr int kEffectCount = 13;

// Runs effect k (0..12) on the picture through bitmap surfaces of its own;
// k of 13 and above repaints the picture unchanged. `brightness` is the
// brightness slider's value, used by effect 12.
void ApplyEffect(QImage& picture, int k, int brightness);

// Runs effect k on one surface in place.
void runEffect(CDIB& dib, int k, int brightness);
