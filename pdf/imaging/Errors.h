#pragma once

#include <stdexcept>
#include <string>

namespace vum {

// The picture error of the readers: a file that cannot be read as a picture.
class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised by the decoders.
class EGraphicCompression : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised by the colour manager for an invalid description or a missing conversion.
class EColorConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] void RaiseCompressionError(const std::string& message);

} // namespace vum
