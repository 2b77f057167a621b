#pragma once

#include <stdexcept>
#include <string>

namespace vum {

// The one error type of the library: a fixed English message, optionally
// followed by ": " and a context. The export layer turns it into -1 and keeps
// its text for GetErrorMsg.
class VumError : public std::runtime_error {
public:
    explicit VumError(const std::string& text) : std::runtime_error(text) {}
};

// "Message: Context", or the message alone when there is no context.
std::string WithContext(const std::string& message, const std::string& context);

[[noreturn]] void RaiseContextError(const std::string& message, const std::string& context = {});

} // namespace vum
