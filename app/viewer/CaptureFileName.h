#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

// The name of a picture the viewer or the screen grab makes:
// `folder`/`prefix` + yyyyMMddHHmmss + `suffix`; when that file exists,
// "_1", "_2", ... before the suffix, so no earlier crop or grab is replaced.
QString captureFileName(const QString& folder, const QString& prefix, const QDateTime& when,
                        const QString& suffix,
                        const std::function<bool(const QString&)>& taken = {});

// The same with the time written in `pattern` (Qt's date letters), for names
// that repeat sooner, such as the webcam's "Cap" + ddHHmmss.
QString stampedFileName(const QString& folder, const QString& prefix, const QDateTime& when,
                        const QString& pattern, const QString& suffix,
                        const std::function<bool(const QString&)>& taken = {});
