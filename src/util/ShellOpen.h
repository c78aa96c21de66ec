// Opening files, addresses and folders through the shell (Windows build).
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

namespace vt {

// ShellExecuteA "open"; texts longer than 256 characters are refused (result 0) rather than
// cut, since a cut path would open something else.
int OpenWithShell(const std::string& file, const std::string& parameters, const std::string& folder, int show);

// Opens the folder in a shell window with its default action; failures are not reported.
void OpenInShellWindow(LPCITEMIDLIST idList);

}  // namespace vt
