#pragma once

#include <QString>
#include <QUrl>
#include <functional>

// Fetches the news page for the main window's web panel. The page is shown
// as rich text: no scripts, no plug-ins. A later load replaces an earlier one
// still under way; only the last one reports.
class NewsPage {
public:
    virtual ~NewsPage() = default;
    // Calls `done` with the page's text, or `failed` when it cannot be had
    // (no answer, an HTTP error status, too big), from the event loop.
    virtual void load(const QUrl& address, std::function<void(const QString& html)> done,
                      std::function<void()> failed) = 0;
};
