#include "platform/ftp/CurlUploader.h"

#include <QFile>
#include <QUrl>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <curl/curl.h>
#include <memory>

namespace {

struct CurlFree {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct FileClose {
    void operator()(FILE* f) const { std::fclose(f); }
};

// The server text as a URL authority: "ftp://" and anything after the host
// and port dropped, port 21 unless one is given.
QString authorityOf(QString server)
{
    server = server.trimmed();
    if (server.startsWith(QLatin1String("ftp://"), Qt::CaseInsensitive))
        server.remove(0, 6);
    const QUrl url(QStringLiteral("ftp://") + server.section(u'/', 0, 0), QUrl::StrictMode);
    const QString host = url.host(QUrl::FullyEncoded);
    if (!url.isValid() || host.isEmpty())
        return {};
    const QString bracketed = host.contains(u':') ? u'[' + host + u']' : host;
    return bracketed + u':' + QString::number(url.port(21));
}

QByteArray encoded(const QString& segment)
{
    return QUrl::toPercentEncoding(segment);
}

using Clock = std::chrono::steady_clock;

// What a put learns of the server while libcurl talks to it. libcurl has one
// wait for every answer, and it would also bound the answer to the last
// byte, which a slow server gives only once it has taken in all the
// connection holds. So libcurl is given the long wait, and this watch keeps
// the answers before the data to the short one.
struct ServerWatch {
    const std::function<void()>* keepAlive = nullptr;
    Clock::duration answerWait{};
    Clock::time_point lastHeard = Clock::now();
    bool loggedIn = false;  // a 230 came
    bool sending = false;   // a 125 or 150 came: the data goes from now on
    bool gaveUp = false;    // an answer before the data did not come in time
};

// libcurl calls this about once a second whatever it waits for.
int watchProgress(void* clientp, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto& watch = *static_cast<ServerWatch*>(clientp);
    if (*watch.keepAlive)
        (*watch.keepAlive)();
    // Once the data goes, the no-progress limit and the last answer's wait hold.
    if (!watch.sending && Clock::now() - watch.lastHeard > watch.answerWait) {
        watch.gaveUp = true;
        return 1;
    }
    return 0;
}

// libcurl hands every reply line of an FTP server to the header callback.
size_t watchReply(char* text, size_t size, size_t count, void* userdata)
{
    auto& watch = *static_cast<ServerWatch*>(userdata);
    const size_t length = size * count;
    const auto is = [&](const char* code) { return length >= 3 && std::memcmp(text, code, 3) == 0; };
    watch.lastHeard = Clock::now();
    watch.loggedIn = watch.loggedIn || is("230");
    watch.sending = watch.sending || is("125") || is("150");
    return length;
}

// What the server sends besides its replies (FTP "headers" such as the
// size a SIZE request learns) is dropped: libcurl's default would print it
// on standard output.
size_t discard(char*, size_t size, size_t count, void*)
{
    return size * count;
}

bool timedOut(CURLcode code)
{
    return code == CURLE_OPERATION_TIMEDOUT || code == CURLE_FTP_ACCEPT_TIMEOUT;
}

// A failure before the server has let us in is a failure to connect;
// everything after is a failed transfer. It is a stalled one when the server
// fell silent or took no byte while it still had its part to do; a server
// that was handed every byte and gave no answer in the long wait may just be
// slow, and the next file may well get through.
FtpStatus statusOf(CURLcode code, const ServerWatch& watch, bool allHanded)
{
    if (code == CURLE_OK)
        return FtpStatus::Done;
    if (!watch.loggedIn)
        return FtpStatus::NoConnection;
    if (watch.gaveUp || (timedOut(code) && !allHanded))
        return FtpStatus::Stalled;
    return FtpStatus::Failed;
}

// Whether the server kept the `size` bytes the handle has just sent. A
// server that does not tell sizes is taken at its word.
FtpStatus checkStored(CURL* c, curl_off_t size, long answerWait)
{
    // The same handle, so the same connection and login: SIZE on the file
    // just written, nothing transferred, so every answer gets the short wait.
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, answerWait);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(c, CURLOPT_READDATA, nullptr);
    curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    const CURLcode asked = curl_easy_perform(c);
    curl_off_t stored = -1;  // -1: the server does not tell sizes
    if (asked == CURLE_REMOTE_FILE_NOT_FOUND)
        stored = 0;
    else if (timedOut(asked))
        return FtpStatus::Stalled;
    else if (asked == CURLE_OK)
        curl_easy_getinfo(c, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &stored);
    return stored < 0 || stored == size ? FtpStatus::Done : FtpStatus::Failed;
}

} // namespace

CurlUploader::CurlUploader(FtpTimeouts timeouts) : timeouts_(timeouts) {}

QString CurlUploader::urlFor(const FtpPut& request)
{
    const QString authority = authorityOf(request.server);
    if (authority.isEmpty())
        return {};
    QByteArray path = "/%2F/";
    for (const QString& folder : request.folders)
        if (!folder.isEmpty())
            path += encoded(folder) + '/';
    path += encoded(request.remoteName);
    return QStringLiteral("ftp://") + authority + QString::fromLatin1(path);
}

FtpStatus CurlUploader::put(const FtpPut& request)
{
    std::unique_ptr<CURL, CurlFree> curl(curl_easy_init());
    if (!curl)
        return FtpStatus::NoSession;
    const QString url = urlFor(request);
    if (url.isEmpty() || request.remoteName.isEmpty())
        return FtpStatus::NoConnection;
    QFile local(request.localPath);
    std::unique_ptr<FILE, FileClose> file(std::fopen(QFile::encodeName(request.localPath).constData(), "rb"));
    if (!file)
        return FtpStatus::Failed;
    const curl_off_t size = curl_off_t(local.size());

    CURL* c = curl.get();
    const QByteArray urlBytes = url.toUtf8();
    const QByteArray user = request.user.toUtf8();
    const QByteArray password = request.password.toUtf8();
    curl_easy_setopt(c, CURLOPT_URL, urlBytes.constData());
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "ftp");
#else
    curl_easy_setopt(c, CURLOPT_PROTOCOLS, long(CURLPROTO_FTP));
#endif
    curl_easy_setopt(c, CURLOPT_PROXY, "");  // direct, whatever the environment says
    // No signals: time-outs without SIGALRM, and a peer that hangs up gives
    // an error (libcurl sends with MSG_NOSIGNAL), not a SIGPIPE.
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    if (!request.user.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    }
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(c, CURLOPT_READDATA, file.get());
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, size);
    curl_easy_setopt(c, CURLOPT_FTP_CREATE_MISSING_DIRS, long(CURLFTP_CREATE_DIR_RETRY));
    // The connect time-out covers the greeting and the login too.
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, timeouts_.connect);
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, timeouts_.lastAnswer);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, timeouts_.stall);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, discard);

    ServerWatch watch;
    watch.keepAlive = &keepAlive;
    watch.answerWait = std::chrono::seconds(timeouts_.response);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, watchProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &watch);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, watchReply);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &watch);

    watch.lastHeard = Clock::now();
    const CURLcode result = curl_easy_perform(c);  // fills the watch: read it only after
    // Bytes handed to the connection, not yet bytes the server took.
    curl_off_t sent = -1;
    curl_easy_getinfo(c, CURLINFO_SIZE_UPLOAD_T, &sent);
    const FtpStatus status = statusOf(result, watch, watch.sending && sent == size);
    if (status != FtpStatus::Done)
        return status;
    // A server that hangs up after a part may still answer well: count the bytes.
    if (sent != size)
        return FtpStatus::Failed;
    // Bytes sent are not bytes stored: a server that closes the data
    // connection early and still answers 226 is asked what it kept.
    return checkStored(c, size, timeouts_.response);
}

