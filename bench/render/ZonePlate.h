#pragma once

#include <QImage>
#include <QString>

// A zone plate: concentric rings whose frequency rises from nothing at the
// centre to the Nyquist limit at the left and right edges. Any resizer that
// lets detail alias shows it as false rings (moire) in the result.
QImage zonePlate(int width, int height);

// Peak signal-to-noise ratio of two pictures of the same size over their red,
// green and blue channels, in dB; -1 when the sizes differ or one is null.
double psnr(const QImage& a, const QImage& b);

// Moire left in a reduction `reduced` of a zone plate of `source` pixels: the
// RMS, in grey levels, of the reduced pixels whose place on the plate carries
// between `lo` and `hi` cycles per source pixel. Those rings are far beyond
// what the reduced size can show, so a clean reduction is flat grey there;
// what varies is aliased detail.
double bandMoire(const QImage& reduced, QSize source, double lo, double hi);
