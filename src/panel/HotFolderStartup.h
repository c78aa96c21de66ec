// The stored hot-folder list's start-up work, which the resident program does before any
// panel exists: the first-run default list and the clean-up of the Links folder that the
// panels' shortcuts live in.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "settings/QRegistry.h"

namespace vt {

// Stores the list as the next hot folder (no shortcut name). False when nothing was stored: no
// list, a malformed one, or one too large for the panel to load back.
bool AppendHotFolder(TQRegistry& reg, LPCITEMIDLIST idList);

// First run: Recent, Favorites and My Documents, in that order, each only if it resolves.
// Returns how many were added.
int AddDefaultHotFolders(TQRegistry& reg);

// programFolder (with its trailing backslash) + "Links".
std::string LinksFolder(const std::string& programFolder);

// Deletes every entry of the Links folder that no stored hot folder names. Returns how many
// were deleted; failures (folders, locked files) are skipped.
int CleanLinksFolder(TQRegistry& reg, const std::string& programFolder);

}  // namespace vt
