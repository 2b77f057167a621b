#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "state/MainWindowState.h"

// The news line's text colour for a colour word (any letter case), as a
// 0x00BBGGRR value: red, blue, green, yellow; anything else black.
uint32_t newsColor(const QString& word);

// Reads the news file: one line per news item, caption, link and colour word
// separated by "|" (UTF-8; further fields ignored, missing ones empty; blank
// lines skipped). At most kMaxNewsLines items from the first kMaxNewsBytes
// bytes are taken.
std::vector<NewsLine> readNewsFile(const QString& path);
inline constexpr int kMaxNewsLines = 101;
inline constexpr qint64 kMaxNewsBytes = 256 * 1024;

// The rotating news line. The file is read on the first tick that finds it
// with at least one item and never again; then every tick shows the next
// item, round all of them.
class NewsTicker {
public:
    // The items live in `rows` (the window's news table).
    explicit NewsTicker(std::vector<NewsLine>& rows) : lines_(rows) {}

    struct Shown {
        QString caption;
        uint32_t color = 0;
    };

    // Nothing while the file is missing or holds no item.
    std::optional<Shown> tick(const QString& newsFile);
    // The address to open for a click on `caption`: the link of the first
    // item with that caption and a link; only http and https addresses.
    QString linkFor(const QString& caption) const;

    bool loaded() const { return loaded_; }
    const std::vector<NewsLine>& lines() const { return lines_; }

private:
    std::vector<NewsLine>& lines_;
    bool loaded_ = false;
    size_t next_ = 0;
};
