#pragma once

#include <QByteArray>
#include <QString>

// A run's result for one entry, encoded on the render thread: the format it
// is saved in (the result file's ending) and the file's bytes, or why there
// are none. Writing it is left to the run, in list order.
struct EncodedResult {
    bool made = false;  // a picture was rendered for the entry
    QString format;
    QByteArray bytes;
    QString error;      // the encoder's complaint; "" when the bytes are whole
};
