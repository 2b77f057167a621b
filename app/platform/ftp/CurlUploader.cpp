#include "platform/ftp/CurlUploader.h"

#include <QFile>
#include <QUrl>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <curl/curl.h>
#include <memory>
#include <optional>
#include <string_view>
#include <unistd.h>

#include "platform/ftp/DataSocket.h"
#include "platform/ftp/ServerWatch.h"

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

// libcurl's own waits, the longest it takes: never reached while the watch
// sees to every limit.
constexpr long kNoLimit = INT_MAX / 1000;

struct SlistFree {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

// What a put keeps while libcurl talks to the server: the watch of its
// limits and the data connection's socket.
struct PutState {
    PutState(const FtpTimeouts& timeouts, curl_off_t size, const std::function<void()>& alive)
        : limits(timeouts), watch(timeouts, size), keepAlive(alive)
    {
    }
    const FtpTimeouts& limits;
    ServerWatch watch;
    DataSocket data;
    const std::function<void()>& keepAlive;
    bool gaveUp = false;  // the watch found the server past a limit
};

// libcurl calls this about once a second whatever it waits for, QUIT's
// answer included: the put's whole exchange is one transfer.
int watchProgress(void* clientp, curl_off_t, curl_off_t, curl_off_t, curl_off_t handed)
{
    auto& put = *static_cast<PutState*>(clientp);
    if (put.keepAlive)
        put.keepAlive();
    const bool late = put.watch.overdue(handed, put.data.sight());
    // By QUIT the put's outcome is known: its short limit ends only the farewell.
    if (put.watch.leaving())
        return late ? 1 : 0;
    // A transfer given up is reset before anything else is asked: a server
    // still taking its rest would answer nothing meanwhile.
    if (late && !put.gaveUp)
        put.data.abandon();
    put.gaveUp = put.gaveUp || late;
    return put.gaveUp ? 1 : 0;
}

// libcurl's trace hands over every command line it sends and every reply
// line it reads, in order.
int watchTalk(CURL*, curl_infotype type, char* text, size_t length, void* clientp)
{
    auto& put = *static_cast<PutState*>(clientp);
    const std::string_view line(text, length);
    if (type == CURLINFO_HEADER_OUT)
        put.watch.asked(line);
    else if (type == CURLINFO_HEADER_IN)
        put.watch.heard(line);
    return 0;
}

// The socket opened right after the server named its passive port is the
// data connection's; any other (the control connection) is not.
int noteSocket(void* clientp, curl_socket_t fd, curlsocktype purpose)
{
    auto& put = *static_cast<PutState*>(clientp);
    if (purpose == CURLSOCKTYPE_IPCXN && put.watch.openingData())
        put.data.opened(fd);
    return CURL_SOCKOPT_OK;
}

int closeSocket(void* clientp, curl_socket_t fd)
{
    auto& put = *static_cast<PutState*>(clientp);
    if (!put.data.keep(fd))
        ::close(fd);
    return 0;
}

// What the server sends besides its replies (FTP "headers") is dropped:
// libcurl's default would print it on standard output.
size_t discard(char*, size_t size, size_t count, void*)
{
    return size * count;
}

// The watch's verdict on a server past a limit: stalled, so the run's later
// uploads need not wait for it, unless the limit rested on a guess.
FtpStatus gaveUpOn(const PutState& put)
{
    return put.watch.guessed() ? FtpStatus::Failed : FtpStatus::Stalled;
}

// Whether the data connection shows the server took in the whole file: its
// system acknowledged every byte and the end-of-file mark, and its end closed
// in order (a server that closes with bytes unread resets it). The close
// usually comes before the final answer; it is awaited up to the answer limit.
bool tookWhole(PutState& put)
{
    if (!put.data.queued())
        return false;  // no data connection known, or the system cannot tell what it holds
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(put.limits.response);
    while (put.data.serverEnd() == DataSocket::End::Open && std::chrono::steady_clock::now() < giveUp) {
        if (put.keepAlive)
            put.keepAlive();
        put.data.awaitServerEnd(1000);
    }
    const std::optional<std::int64_t> queued = put.data.queued();
    return queued && *queued == 0 && put.data.serverEnd() == DataSocket::End::ClosedInOrder;
}

// How the put ended, from what the watch heard and the data connection
// shows; libcurl's own result says little once the data was answered (a
// server may hang up instead of answering SIZE or QUIT). Bytes sent are not
// bytes stored: where the server tells sizes, its number decides; where it
// does not (an account that may store but not list or read refuses SIZE),
// what the transfer showed does.
FtpStatus outcomeOf(CURLcode code, curl_off_t sent, curl_off_t size, PutState& put)
{
    if (!put.watch.loggedIn())
        return code == CURLE_OK ? FtpStatus::Done : FtpStatus::NoConnection;
    if (put.gaveUp)
        return gaveUpOn(put);
    // A server that hangs up after a part may still answer well: count the bytes.
    if (!put.watch.stored() || sent != size)
        return FtpStatus::Failed;
    if (const std::optional<std::int64_t> told = put.watch.toldSize())
        return *told == size ? FtpStatus::Done : FtpStatus::Failed;
    return tookWhole(put) ? FtpStatus::Done : FtpStatus::Failed;
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
    const QString url = urlFor(request);
    if (url.isEmpty() || request.remoteName.isEmpty())
        return FtpStatus::NoConnection;
    QFile local(request.localPath);
    std::unique_ptr<FILE, FileClose> file(std::fopen(QFile::encodeName(request.localPath).constData(), "rb"));
    if (!file)
        return FtpStatus::Failed;
    const curl_off_t size = curl_off_t(local.size());
    // Made before the handle, so they outlive it: libcurl closes sockets
    // through the state until the handle goes.
    PutState state(timeouts_, size, keepAlive);
    const std::unique_ptr<curl_slist, SlistFree> sizeCheck(
        curl_slist_append(nullptr, ("*SIZE " + request.remoteName.toUtf8()).constData()));
    std::unique_ptr<CURL, CurlFree> curl(curl_easy_init());
    if (!curl)
        return FtpStatus::NoSession;

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
    // After a success to the data, the size of the file just written, on the
    // same connection; a refusal ("*") ends nothing. Then QUIT, within this
    // transfer, so its answer is awaited under the watch like any other:
    // left to the handle's cleanup, it would be awaited without limit and
    // without a call back.
    curl_easy_setopt(c, CURLOPT_POSTQUOTE, sizeCheck.get());
    curl_easy_setopt(c, CURLOPT_FORBID_REUSE, 1L);
    // Every wait is the watch's: libcurl would count the answer to the data
    // from the last byte it handed over, not from the last the server took,
    // and the data connection's connect limit from the start of the put.
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kNoLimit);
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, kNoLimit);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, discard);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, discard);

    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, watchProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &state);
    // The trace goes to the watch only; nothing is printed.
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, watchTalk);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &state);
    curl_easy_setopt(c, CURLOPT_SOCKOPTFUNCTION, noteSocket);
    curl_easy_setopt(c, CURLOPT_SOCKOPTDATA, &state);
    curl_easy_setopt(c, CURLOPT_CLOSESOCKETFUNCTION, closeSocket);
    curl_easy_setopt(c, CURLOPT_CLOSESOCKETDATA, &state);

    const CURLcode result = curl_easy_perform(c);  // fills the state: read it only after
    curl_off_t sent = -1;
    curl_easy_getinfo(c, CURLINFO_SIZE_UPLOAD_T, &sent);
    const FtpStatus status = outcomeOf(result, sent, size, state);
    if (status != FtpStatus::Done)
        state.data.abandon();
    return status;
}
