#pragma once

#include <string>

// Gives the current test process its own settings, data and working folders
// so that no test touches a user's settings, fonts or home.
namespace testenv {

// Creates the process's scratch folder and points XDG_CONFIG_HOME,
// XDG_DATA_HOME and VIMO_HOME into it. Called by the test mains.
void isolateProcess();

// The scratch folder of this process (removed at exit unless VIMO_KEEP_TEST_DIR is set).
const std::string& scratchDir();

// tests/data in the source tree.
std::string dataDir();

// The build's bin folder (the program, libPDF.so and the resources).
std::string binDir();

} // namespace testenv
