// Puts each FILE on the FTP server HOST:PORT as USER with PASSWORD, one after
// the other as a run does (a stalled server ends the later puts at once), and
// prints for each put its status and seconds, then the seconds of all. With
// QUEUE_UNKNOWN=1 in the environment every data socket acts as on a system
// that cannot tell what it still holds.
#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/ftp/CurlUploader.h"
#include "platform/ftp/FailFastUploader.h"
#include "QueueUnknown.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: upload HOST:PORT USER PASSWORD FILE...\n");
        return 2;
    }
    const char* unknown = std::getenv("QUEUE_UNKNOWN");
    setQueueUnknown(unknown && std::strcmp(unknown, "1") == 0);
    FailFastUploader once(std::make_shared<CurlUploader>());
    const auto all = std::chrono::steady_clock::now();
    for (int i = 4; i < argc; ++i) {
        FtpPut put;
        put.server = QString::fromLocal8Bit(argv[1]);
        put.user = QString::fromLocal8Bit(argv[2]);
        put.password = QString::fromLocal8Bit(argv[3]);
        put.remoteName = QStringLiteral("put%1.bin").arg(i - 4);
        put.localPath = QString::fromLocal8Bit(argv[i]);
        const auto start = std::chrono::steady_clock::now();
        const FtpStatus status = once.put(put);
        std::printf("put %d: status %d, %.2f s\n", i - 4, int(status), secondsSince(start));
        std::fflush(stdout);
    }
    std::printf("all: %.2f s\n", secondsSince(all));
}
