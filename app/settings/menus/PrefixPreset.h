#pragma once

#include <QDateTime>
#include <QString>

// The captions of the file-name prefix menu, in its order.
inline constexpr const char* kPrefixCaptions[] = {"#当前日期#", "#当前时间#", "#日期和时间#", "#不要前缀#"};

// The prefix a caption of that menu stands for at `now`: the date
// ("yyyyMMdd_"), the time ("HHmmss_"), both ("yyyyMMddHHmmss_"), or nothing;
// an unknown caption gives nothing either.
QString prefixPreset(const QString& caption, const QDateTime& now);
