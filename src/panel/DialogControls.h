// The attached dialog's own controls as the panel finds them from outside: the file-name box,
// the folder view (replaced by the dialog at every folder change) and its list.
#pragma once
#include <windows.h>

namespace vt {

// The topmost direct child of `parent` whose class is exactly `className`; 0 for none.
HWND FirstChildByTop(HWND parent, const char* className);

// The Edit of the file-name box: a direct child, or inside ComboBoxEx32 > ComboBox.
HWND FileNameBoxOf(HWND dialog);

struct FolderViewWindows {
  HWND view = nullptr;  // SHELLDLL_DefView
  HWND list = nullptr;  // its SysListView32
};
FolderViewWindows FolderViewOf(HWND dialog);
// The folder view wherever the dialog keeps it: a direct child, or inside the item dialog's
// ExplorerBrowserControl. It too is replaced at every folder change.
HWND ShownFolderView(HWND dialog);

}  // namespace vt
