#include "engine/security/StandardSecurity.h"

#include "engine/security/Md5.h"
#include "engine/security/Rc4.h"

namespace vum {

namespace {

// The padding string of the standard security handler.
const unsigned char kPadding[32] = {0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E,
                                    0x56, 0xFF, 0xFA, 0x01, 0x08, 0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68,
                                    0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

std::string PaddingString()
{
    return std::string(reinterpret_cast<const char*>(kPadding), sizeof kPadding);
}

std::string Padded(const std::string& password)
{
    return (password.substr(0, 32) + PaddingString()).substr(0, 32);
}

std::string DigestPrefix(std::string_view bytes, size_t length)
{
    const auto digest = Md5(bytes);
    return std::string(reinterpret_cast<const char*>(digest.data()), length);
}

std::string Hex(const std::string& bytes)
{
    static const char* const digits = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        out += digits[static_cast<unsigned char>(c) >> 4];
        out += digits[static_cast<unsigned char>(c) & 0xF];
    }
    return out;
}

} // namespace

int32_t PermissionWord(const Permissions& p)
{
    uint32_t word = 0xFFFFFFC0u;  // bits 7 to 32 set, bits 1 and 2 clear
    if (p.canPrint)
        word |= 4;
    if (p.canModify)
        word |= 8;
    if (p.canCopy)
        word |= 16;
    if (p.canAnnotate)
        word |= 32;
    return static_cast<int32_t>(word);
}

StandardSecurity::StandardSecurity(const std::string& ownerPassword, const std::string& userPassword,
                                   Permissions permissions, const std::string& fileId)
{
    const std::string owner = ownerPassword.empty() ? userPassword : ownerPassword;
    const std::string user = Padded(userPassword);
    permissions_ = vum::PermissionWord(permissions);

    ownerKey_ = Rc4(DigestPrefix(Padded(owner), 5), user);

    std::string seed = user + ownerKey_;
    const auto p = static_cast<uint32_t>(permissions_);
    for (int i = 0; i < 4; ++i)
        seed += static_cast<char>((p >> (8 * i)) & 0xFF);
    seed += fileId;
    fileKey_ = DigestPrefix(seed, 5);

    userKey_ = Rc4(fileKey_, PaddingString());
}

std::string StandardSecurity::Encrypt(int32_t number, std::string_view bytes) const
{
    if (!Active() || number <= 0)
        return std::string(bytes);
    std::string seed = fileKey_;
    const auto n = static_cast<uint32_t>(number);
    for (int i = 0; i < 3; ++i)
        seed += static_cast<char>((n >> (8 * i)) & 0xFF);
    seed += std::string(2, '\0');  // generation 0
    return Rc4(DigestPrefix(seed, 10), bytes);
}

std::string StandardSecurity::DictionaryLines() const
{
    return "/Filter/Standard\n/V 1\n/R 2\n/O <" + Hex(ownerKey_) + ">\n/U <" + Hex(userKey_) + ">\n/P " +
           std::to_string(permissions_) + "\n";
}

} // namespace vum
