#include "engine/util/VumError.h"

namespace vum {

std::string WithContext(const std::string& message, const std::string& context)
{
    return context.empty() ? message : message + ": " + context;
}

void RaiseContextError(const std::string& message, const std::string& context)
{
    throw VumError(WithContext(message, context));
}

} // namespace vum
