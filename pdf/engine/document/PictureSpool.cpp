#include "engine/document/PictureSpool.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace vum {

namespace {

// A file that never has a name where the file system allows it; elsewhere
// one that loses its name the moment it is made.
int OpenNamelessFile(const std::string& folder)
{
#ifdef O_TMPFILE
    const int nameless = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (nameless >= 0)
        return nameless;
#endif
    std::string pattern = folder;
    if (pattern.empty() || pattern.back() != '/')
        pattern += '/';
    pattern += "vumpdf-pictures-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return -1;
    // A spool that kept its name would outlive a crash.
    if (::unlink(name.data()) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool WriteAt(int fd, std::string_view bytes, int64_t offset)
{
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(n));
        offset += n;
    }
    return true;
}

bool ReadAt(int fd, char* out, size_t size, int64_t offset)
{
    while (size > 0) {
        const ssize_t n = ::pread(fd, out, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        out += n;
        size -= static_cast<size_t>(n);
        offset += n;
    }
    return true;
}

} // namespace

bool PictureSpool::Open(const std::string& folder)
{
    fd_ = OpenNamelessFile(folder);
    if (fd_ < 0)
        return false;
    end_ = 0;
    ++generation_;
    return true;
}

PictureSpool::Entry PictureSpool::Keep(const std::string& folder, std::string_view bytes)
{
    if (!IsOpen() && !Open(folder))
        return {};
    if (!WriteAt(fd_, bytes, end_))
        return {};
    Entry entry{generation_, end_, static_cast<int64_t>(bytes.size())};
    end_ += entry.size;
    return entry;
}

bool PictureSpool::Read(const Entry& entry, std::string& bytes) const
{
    if (!IsOpen() || !entry.Kept() || entry.generation != generation_ || entry.offset < 0 || entry.size < 0 ||
        entry.offset + entry.size > end_)
        return false;
    bytes.resize(static_cast<size_t>(entry.size));
    if (!ReadAt(fd_, bytes.data(), bytes.size(), entry.offset)) {
        std::string().swap(bytes);
        return false;
    }
    return true;
}

void PictureSpool::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    end_ = 0;
}

} // namespace vum
