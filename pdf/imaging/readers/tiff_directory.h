#pragma once

// One image file directory of a TIFF file: its entries in tag order, in the
// machine's byte order, and readers of their values.
#include <cstdint>
#include <vector>

namespace vum {

class TStream;

struct TTiffEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    uint8_t raw[4] = {};  // the value itself when it fits in 4 bytes, else its offset
};

class TTiffDirectory {
public:
    // base: where the TIFF header starts; offsets in the file count from it.
    TTiffDirectory(TStream& stream, uint64_t base, bool bigEndian);

    // Reads the directory at the offset: its entry count and entries.
    void Read(uint32_t offset);
    // Passes over the directory at the offset; returns the next one's offset.
    uint32_t Skip(uint32_t offset);

    const TTiffEntry* Find(uint16_t tag) const;
    bool Has(uint16_t tag) const { return Find(tag) != nullptr; }
    uint32_t Integer(uint16_t tag, uint32_t fallback) const;
    uint32_t Integer(uint16_t tag, uint32_t fallback, uint32_t& count) const;
    float Float(uint16_t tag, float fallback) const;
    std::vector<uint8_t> Bytes(uint16_t tag) const;
    std::vector<uint32_t> Cardinals(uint16_t tag) const;
    std::vector<float> Floats(uint16_t tag) const;

    static uint32_t TypeSize(uint16_t type);

private:
    uint16_t word(const uint8_t* p) const;
    uint32_t longWord(const uint8_t* p) const;
    // The raw bytes of an entry's data, read from the file or taken from the
    // entry; an offset or count that points past the file raises a read error.
    std::vector<uint8_t> data(const TTiffEntry& entry) const;
    double element(const TTiffEntry& entry, const uint8_t* p) const;

    TStream& stream_;
    uint64_t base_;
    bool bigEndian_;
    std::vector<TTiffEntry> entries_;
};

} // namespace vum
