// Shell folder objects (Windows build): the desktop and the folder an identifier list names.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include "util/Handles.h"

namespace vt {

// SHGetDesktopFolder; null (and the result code in *hr) when the shell cannot give it.
ComPtr<IShellFolder> DesktopFolder(HRESULT* hr = nullptr);
// The desktop itself for the desktop's list, else the bound folder; null when it cannot be
// bound or the list is damaged.
ComPtr<IShellFolder> FolderOfItemList(LPCITEMIDLIST list);

}  // namespace vt
