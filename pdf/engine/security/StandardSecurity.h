#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vum {

// What a reader may do with an encrypted document besides viewing it.
struct Permissions {
    bool canPrint = true;
    bool canModify = false;
    bool canCopy = false;
    bool canAnnotate = false;
};

// The standard security handler of PDF, revision 2, with a 40-bit key: the
// owner and user entries, the file key, and the per-object encryption of
// strings and streams.
class StandardSecurity {
public:
    // No encryption.
    StandardSecurity() = default;
    // The keys of one encrypted document (both passwords may be empty). An
    // empty owner password takes the user password. `fileId` is the text
    // written in the trailer's /ID.
    StandardSecurity(const std::string& ownerPassword, const std::string& userPassword,
                     Permissions permissions, const std::string& fileId);

    // True when the document is encrypted.
    bool Active() const { return !ownerKey_.empty(); }

    // The bytes encrypted with the key of object `number` (the same call
    // decrypts). Unchanged when not active or for object 0.
    std::string Encrypt(int32_t number, std::string_view bytes) const;

    // The encryption dictionary's entries between "<<" and ">>", one a line.
    std::string DictionaryLines() const;

    const std::string& OwnerKey() const { return ownerKey_; }
    const std::string& UserKey() const { return userKey_; }
    int32_t PermissionWord() const { return permissions_; }
    const std::string& FileKey() const { return fileKey_; }

private:
    std::string ownerKey_, userKey_, fileKey_;
    int32_t permissions_ = 0;
};

// The permission word /P: bits 3 to 6 as allowed, bits 7 to 32 set.
int32_t PermissionWord(const Permissions& permissions);

} // namespace vum
