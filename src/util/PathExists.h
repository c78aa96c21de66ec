// Whether a file or a folder is there, asked with critical-error boxes off, so that a drive
// without a medium answers false instead of asking the user (Windows build).
#pragma once
#include <string>

namespace vt {

bool FileThere(const std::string& path);
bool FolderThere(const std::string& path);

}  // namespace vt
