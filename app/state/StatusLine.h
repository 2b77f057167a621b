#pragma once

#include <QString>
#include <functional>

// The main window's status line. The window registers where the text goes;
// the core and every window write through show(), so a run without a window
// still works (the text is only kept).
class StatusLine {
public:
    using Sink = std::function<void(const QString&)>;

    // Longest text shown whole; a longer one is cut and marked with "...".
    static constexpr int kMaxChars = 230;

    void setSink(Sink sink) { sink_ = std::move(sink); }
    void show(const QString& text);
    const QString& text() const { return text_; }

    // The text as the line shows it: whole up to kMaxChars, else its first
    // kMaxChars characters (never half a surrogate pair) and "...".
    static QString fitted(const QString& text);

private:
    Sink sink_;
    QString text_;
};
