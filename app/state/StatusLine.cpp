#include "state/StatusLine.h"

QString StatusLine::fitted(const QString& text)
{
    if (text.size() <= kMaxChars)
        return text;
    qsizetype cut = kMaxChars;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QStringLiteral("...");
}

void StatusLine::show(const QString& text)
{
    text_ = fitted(text);
    if (sink_)
        sink_(text_);
}
