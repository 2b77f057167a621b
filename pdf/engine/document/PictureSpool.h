#pragma once

// Encoded pictures of a document that counts its pages, kept from its first
// pass to its second. The first pass lays the pages out and writes nothing;
// the second places every picture as it was encoded at its draw call,
// whatever became of the picture's file in between. They wait on disk, not
// in memory, so a book of many big pictures still holds one at a time. The
// file has no name: closing it, or the end of the process however it ends,
// gives its space back and leaves nothing behind.
#include <cstdint>
#include <string>
#include <string_view>

namespace vum {

class PictureSpool {
public:
    // Where one picture's bytes lie in the spool.
    struct Entry {
        uint64_t generation = 0; // 0: nothing kept
        int64_t offset = 0;
        int64_t size = 0;
        bool Kept() const { return generation != 0; }
    };

    PictureSpool() = default;
    ~PictureSpool() { Close(); }
    PictureSpool(const PictureSpool&) = delete;
    PictureSpool& operator=(const PictureSpool&) = delete;

    // Appends the bytes, making the spool in `folder` first when it has none.
    // Gives an entry that is not Kept() when they cannot be stored.
    Entry Keep(const std::string& folder, std::string_view bytes);
    // The bytes of an entry of the open spool; false when they cannot be
    // read back (or the entry is of a spool since closed).
    bool Read(const Entry& entry, std::string& bytes) const;
    // Lets go of the file and of everything kept in it.
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

private:
    bool Open(const std::string& folder);

    int fd_ = -1;
    int64_t end_ = 0;
    uint64_t generation_ = 0; // counts the spools opened, so old entries never match
};

} // namespace vum
