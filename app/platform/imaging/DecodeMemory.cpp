#include "platform/imaging/DecodeMemory.h"

#include <QFile>
#include <atomic>
#include <memory>
#include <new>

namespace imaging {

namespace {

struct Slab {
    std::unique_ptr<uchar[]> data;
    size_t capacity = 0;
    std::atomic<bool> inUse{false};
};

struct Kept {
    int64_t maxBytes = 0;
    // Shared with the pictures made in it: one may outlive the thread.
    std::shared_ptr<Slab> slab;
};

thread_local Kept kept;

std::atomic<int64_t> decoderLimit{0};

void release(void* info)
{
    auto* holder = static_cast<std::shared_ptr<Slab>*>(info);
    (*holder)->inUse = false;
    delete holder;
}

} // namespace

void keepDecodeMemory(int64_t maxBytes)
{
    kept.maxBytes = maxBytes > 0 ? maxBytes : 0;
    if (kept.maxBytes == 0 || (kept.slab && !kept.slab->inUse && int64_t(kept.slab->capacity) > kept.maxBytes))
        kept.slab.reset();
}

QImage decodeTarget(QSize size, QImage::Format format)
{
    if (size.isEmpty() || format == QImage::Format_Invalid)
        return {};
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    const size_t bytesPerLine = (size_t(size.width()) * size_t(depth) + 31) / 32 * 4;
    const size_t bytes = bytesPerLine * size_t(size.height());
    if (depth < 8 || format == QImage::Format_Indexed8 || int64_t(bytes) > kept.maxBytes ||
        bytesPerLine > size_t(INT32_MAX) || (kept.slab && kept.slab->inUse))
        return QImage(size, format);
    if (!kept.slab)
        kept.slab = std::make_shared<Slab>();
    Slab& slab = *kept.slab;
    if (slab.capacity < bytes) {
        slab.data.reset();
        slab.capacity = 0;
        slab.data.reset(new (std::nothrow) uchar[bytes]);
        if (!slab.data)
            return QImage(size, format);
        slab.capacity = bytes;
    }
    slab.inUse = true;
    return QImage(slab.data.get(), size.width(), size.height(), qsizetype(bytesPerLine), format, release,
                  new std::shared_ptr<Slab>(kept.slab));
}

int64_t freeMemoryShare()
{
    constexpr int64_t kFallback = int64_t(2) << 30;
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly))
        return kFallback;
    for (QByteArray line; !(line = meminfo.readLine()).isEmpty();) {
        if (!line.startsWith("MemAvailable:"))
            continue;
        bool ok = false;
        const int64_t kib = line.mid(13).trimmed().split(' ').value(0).toLongLong(&ok);
        if (ok && kib > 0)
            return kib * 1024 / 2;
    }
    return kFallback;
}

void setDecoderMemoryLimit(int64_t bytes)
{
    decoderLimit = bytes > 0 ? bytes : 0;
}

int64_t decoderMemoryLimit()
{
    const int64_t set = decoderLimit;
    return set > 0 ? set : freeMemoryShare();
}

} // namespace imaging
