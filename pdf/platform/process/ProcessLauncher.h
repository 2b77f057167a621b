#pragma once

#include <string>
#include <vector>

namespace vum::platform {

// Starts a program found on PATH with an argument list (no shell) and waits
// for it. Returns its exit status, or -1 when it could not be started or
// did not exit normally.
int RunProgram(const std::vector<std::string>& args);

} // namespace vum::platform
