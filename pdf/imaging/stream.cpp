#include "imaging/stream.h"

#include <cstring>
#include <stdexcept>

#include "imaging/errors.h"
#include "imaging/limits.h"
#include "imaging/support.h"

namespace vum {

void TStream::ReadBuffer(void* buffer, std::size_t count)
{
    if (Read(buffer, count) != count)
        RaiseGraphicError(msg::StreamRead);
}

void TStream::Skip(uint64_t count)
{
    if (count > Remaining())
        RaiseGraphicError(msg::StreamRead);
    Seek(Position() + count);
}

uint8_t TStream::ReadByte()
{
    uint8_t b;
    ReadBuffer(&b, 1);
    return b;
}

uint16_t TStream::ReadWordLE()
{
    uint8_t b[2];
    ReadBuffer(b, 2);
    return uint16_t(b[0] | b[1] << 8);
}

uint32_t TStream::ReadLongLE()
{
    uint8_t b[4];
    ReadBuffer(b, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

uint16_t TStream::ReadWordBE()
{
    uint8_t b[2];
    ReadBuffer(b, 2);
    return uint16_t(b[0] << 8 | b[1]);
}

uint32_t TStream::ReadLongBE()
{
    uint8_t b[4];
    ReadBuffer(b, 4);
    return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | uint32_t(b[3]);
}

std::vector<uint8_t> TStream::ReadRest()
{
    uint64_t rest = Remaining();
    if (!AllocationWithinLimits(rest))
        RaiseGraphicError(msg::StreamRead);
    std::vector<uint8_t> bytes(rest);
    ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

TFileStream::TFileStream(const std::string& fileName)
{
    file_ = std::fopen(fileName.c_str(), "rb");
    if (!file_)
        throw std::runtime_error("Cannot open file \"" + fileName + "\"");
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        long end = std::ftell(file_);
        size_ = end > 0 ? uint64_t(end) : 0;
    }
    std::fseek(file_, 0, SEEK_SET);
}

TFileStream::~TFileStream()
{
    if (file_)
        std::fclose(file_);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count)
{
    if (count == 0)
        return 0;
    std::size_t got = std::fread(buffer, 1, count, file_);
    position_ += got;
    return got;
}

void TFileStream::Seek(uint64_t position)
{
    // Positions past the end are kept; reads there return nothing.
    if (std::fseek(file_, long(position), SEEK_SET) == 0)
        position_ = position;
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count)
{
    if (position_ >= size_ || count == 0)
        return 0;
    std::size_t n = std::min<uint64_t>(count, size_ - position_);
    if (n == 0)
        return 0;
    std::memcpy(buffer, data_ + position_, n);
    position_ += n;
    return n;
}

std::vector<uint8_t> ReadWholeFile(const std::string& fileName)
{
    TFileStream stream(fileName);
    return stream.ReadRest();
}

} // namespace vum
