// The special folders the hot list offers: the shell's CSIDL folders, and Favorites and My
// Documents as the user's Shell Folders values name them.
#pragma once
#include <windows.h>
#include <shlobj.h>

namespace vt {

// Codes above the CSIDL range that name the Shell Folders values "Favorites" and "Personal".
inline constexpr int kFavoritesFolderCode = 11111;
inline constexpr int kPersonalFolderCode = 22222;
inline constexpr int kRecentFolderCode = 8;  // CSIDL_RECENT

// The identifier list of a special folder, or null when it does not resolve. The caller frees
// it with ItemListFree.
LPITEMIDLIST GetSpecialFolderPidl(int code);

}  // namespace vt
