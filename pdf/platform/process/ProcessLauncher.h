#pragma once

#include <string>
#include <vector>

namespace vum::platform {

// Starts a program found on PATH with an argument list (no shell) and waits
// for it. Returns its exit status, or -1 when it could not be started or
// did not exit normally.
int RunProgram(const std::vector<std::string>& args);

// Starts a program found on PATH with an argument list and does not wait
// for it: a viewer may stay open as long as the user likes. The program is
// not a child of the caller, so nothing is left to reap. False when it
// could not be started.
bool StartDetached(const std::vector<std::string>& args);

} // namespace vum::platform
