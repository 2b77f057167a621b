#pragma once

// Byte streams the readers load from: a file or a block of memory.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vum {

class TStream {
public:
    virtual ~TStream() = default;
    // Reads up to count bytes; returns how many were read.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual void Seek(uint64_t position) = 0;
    virtual uint64_t Position() const = 0;
    virtual uint64_t Size() const = 0;

    uint64_t Remaining() const { return Position() < Size() ? Size() - Position() : 0; }
    // Reads exactly count bytes or raises "Stream read error".
    void ReadBuffer(void* buffer, std::size_t count);
    // Moves forward; raises when that passes the end.
    void Skip(uint64_t count);
    uint8_t ReadByte();
    uint16_t ReadWordLE();
    uint32_t ReadLongLE();
    uint16_t ReadWordBE();
    uint32_t ReadLongBE();
    // Everything from the current position to the end, within the allocation cap.
    std::vector<uint8_t> ReadRest();
};

// Restores a stream's position when it goes out of scope.
class TPositionGuard {
public:
    explicit TPositionGuard(TStream& stream) : stream_(stream), position_(stream.Position()) {}
    ~TPositionGuard() { stream_.Seek(position_); }
    TPositionGuard(const TPositionGuard&) = delete;
    TPositionGuard& operator=(const TPositionGuard&) = delete;

private:
    TStream& stream_;
    uint64_t position_;
};

// A file opened for reading; raises std::runtime_error when it cannot be opened.
class TFileStream : public TStream {
public:
    explicit TFileStream(const std::string& fileName);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    void Seek(uint64_t position) override;
    uint64_t Position() const override { return position_; }
    uint64_t Size() const override { return size_; }

private:
    std::FILE* file_ = nullptr;
    uint64_t size_ = 0;
    uint64_t position_ = 0;
};

// Reads from memory that the caller keeps alive.
class TMemoryStream : public TStream {
public:
    TMemoryStream(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::size_t Read(void* buffer, std::size_t count) override;
    void Seek(uint64_t position) override { position_ = position; }
    uint64_t Position() const override { return position_; }
    uint64_t Size() const override { return size_; }

private:
    const uint8_t* data_;
    std::size_t size_;
    uint64_t position_ = 0;
};

// The whole content of a file, within the allocation cap.
std::vector<uint8_t> ReadWholeFile(const std::string& fileName);

} // namespace vum
