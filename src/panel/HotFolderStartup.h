// The hot-folder pieces the resident program uses at start-up and the shortcut writer the
// panel shares: special folders, the first-run default list, the clean-up of the Links folder.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "settings/QRegistry.h"

namespace vt {

// Codes above the CSIDL range that name the Shell Folders values "Favorites" and "Personal".
inline constexpr int kFavoritesFolderCode = 11111;
inline constexpr int kPersonalFolderCode = 22222;
inline constexpr int kRecentFolderCode = 8;  // CSIDL_RECENT

// The identifier list of a special folder, or null when it does not resolve. The caller frees
// it with ItemListFree.
LPITEMIDLIST GetSpecialFolderPidl(int code);

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

// Writes a shell link to idList into fileName (overwritten when present). Shows "Error
// shortcut" when the shell link object cannot be had (COM must be initialised on this
// thread). True when the file was saved.
bool CreateShortcut(LPCITEMIDLIST idList, const std::string& fileName, const std::string& description,
                    const std::string& arguments);

// Opens the folder in a shell window with its default action; failures are not reported.
void OpenInShellWindow(LPCITEMIDLIST idList);

}  // namespace vt
