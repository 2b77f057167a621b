#pragma once

#include <QPointer>
#include <memory>

#include "platform/news/NewsPage.h"

class QNetworkAccessManager;
class QNetworkReply;

// An HTTP(S) GET through Qt's network access, following redirects, with a
// time-out for a server that stops answering and a cap on the page's size.
class HttpNewsPage : public NewsPage {
public:
    HttpNewsPage();
    ~HttpNewsPage() override;
    void load(const QUrl& address, std::function<void(const QString& html)> done,
              std::function<void()> failed) override;

    static constexpr qint64 kMaxBytes = 4 * 1024 * 1024;
    static constexpr int kTimeoutMs = 20000;

private:
    std::unique_ptr<QNetworkAccessManager> network_;
    QPointer<QNetworkReply> current_;
};
