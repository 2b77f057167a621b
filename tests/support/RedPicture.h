#pragma once

#include <QByteArray>
#include <QImage>

// A picture that shows where it is drawn: pages and windows under test hold
// nothing else red, so red pixels in a grab mean the picture was loaded.
QByteArray redPng();  // 60 x 40, pure red, as PNG bytes
int redPixels(const QImage& shot);
