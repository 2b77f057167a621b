#pragma once

#include <stdexcept>
#include <string>

namespace vum::fonts {

// A font that cannot be found, opened or read as the file claims to be; the
// engine turns it into its own error with the font's name as context.
class FontError : public std::runtime_error {
public:
    explicit FontError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace vum::fonts
