// The shell links a virtual hot folder is opened through.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

namespace vt {

// Writes a shell link to idList into fileName (overwritten when present). Shows "Error
// shortcut" when the shell link object cannot be had (COM must be initialised on this
// thread). True when the file was saved.
bool CreateShortcut(LPCITEMIDLIST idList, const std::string& fileName, const std::string& description,
                    const std::string& arguments);

}  // namespace vt
