// Config.ini next to the program: the [Debug] switches read once at start-up and the
// [Common] Version written at every start.
#pragma once
#include <string>

#include "settings/Catalogue.h"

namespace vt {

// Missing file or keys mean off; the file is never created by reading.
DebugSwitches ReadDebugSettings(const std::string& iniPath);

// [Common] Version = "1.01", flushed to disk; the file is created when missing. Failures
// (read-only folder, locked file) are ignored.
void WriteVersion(const std::string& iniPath);

}  // namespace vt
