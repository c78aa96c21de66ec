// Process-wide values of the resident program that every form reaches: the program's own
// folder, the settings store and the Config.ini switches.
#pragma once
#include <windows.h>

#include <string>

#include "settings/Catalogue.h"
#include "settings/QRegistry.h"

namespace vt {

// Folder of a program file path, with its trailing backslash; empty when the path has none.
std::string FolderOfPath(const std::string& path);
// Full path of the running program file; empty when it does not fit a long path.
std::string OwnProgramPath();

// The folder of the running program file with a trailing backslash, taken once.
const std::string& ProgramFolder();

// The one settings store, base key "Software\Brisvane\Vantrel" below the current user.
// Made on first use, so a form that asks early still finds it.
TQRegistry& AppRegistry();

// The four [Debug] switches of Config.ini, as read at start-up (all off until then).
DebugSwitches& DebugSettings();

}  // namespace vt
