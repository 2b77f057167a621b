#pragma once

#include <functional>
#include <string>

namespace vum {

using WarningSink = std::function<void(const std::string& text)>;

// Where warnings go; standard error when no sink is set. Never blocks.
void SetWarningSink(WarningSink sink);
// The context is kept on one line: control characters and backslashes are
// written as escapes.
void ShowWarning(const std::string& message, const std::string& context = {});

} // namespace vum
