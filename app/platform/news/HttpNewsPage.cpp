#include "platform/news/HttpNewsPage.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>

namespace {

// The page's text in the charset its header names, else the one its meta
// tag names (publishers' pages are often GBK), else UTF-8.
QString decoded(QNetworkReply& reply, const QByteArray& bytes)
{
    const QString type = reply.header(QNetworkRequest::ContentTypeHeader).toString();
    const int at = type.indexOf(QLatin1String("charset="), 0, Qt::CaseInsensitive);
    if (at >= 0) {
        const QString name = type.mid(at + 8).section(u';', 0, 0).remove(u'"').trimmed();
        QStringDecoder decoder(name.toLatin1().constData());
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    return decoder.isValid() ? decoder.decode(bytes) : QString::fromUtf8(bytes);
}

} // namespace

HttpNewsPage::HttpNewsPage() : network_(std::make_unique<QNetworkAccessManager>()) {}

HttpNewsPage::~HttpNewsPage()
{
    // No report reaches a window that is going away.
    if (current_) {
        current_->disconnect();
        current_->abort();
    }
}

void HttpNewsPage::load(const QUrl& address, std::function<void(const QString&)> done,
                        std::function<void()> failed)
{
    if (current_) {
        QNetworkReply* old = current_;
        current_ = nullptr;
        old->disconnect();
        old->abort();
        old->deleteLater();
    }
    const QString scheme = address.scheme().toLower();
    if (scheme != u"http" && scheme != u"https") {
        if (failed)
            failed();
        return;
    }
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(kTimeoutMs);
    QNetworkReply* reply = network_->get(request);
    current_ = reply;
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxBytes)
            reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, reply, [this, reply, done, failed] {
        reply->deleteLater();
        if (current_ == reply)
            current_ = nullptr;
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
            if (failed)
                failed();
            return;
        }
        const QByteArray bytes = reply->readAll();
        if (done)
            done(decoded(*reply, bytes));
    });
}
