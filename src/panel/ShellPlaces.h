// The special folders the hot list offers: the shell's CSIDL folders, and Favorites and My
// Documents as the user's Shell Folders values name them.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include "util/ShellIdList.h"

namespace vt {

// Codes above the CSIDL range that name the Shell Folders values "Favorites" and "Personal".
inline constexpr int kFavoritesFolderCode = 11111;
inline constexpr int kPersonalFolderCode = 22222;
inline constexpr int kRecentFolderCode = 8;  // CSIDL_RECENT

// The identifier list of a special folder, or none when it does not resolve.
ItemListPtr GetSpecialFolderPidl(int code);

}  // namespace vt
