// A file dialog's child windows by exact class, as the hook library finds them inside the
// dialog's process and the panel from outside it: sorted top to bottom, and the file-name box
// and folder view found from them. Windows build; nothing here allocates or throws, so that
// the hook library carries it too.
#pragma once
#include <windows.h>

namespace vt {

// True when the window's class name is exactly `className` (FindWindowEx ignores case).
bool HasExactClass(HWND window, const char* className);

// Direct children of `parent` whose class is exactly `className`, topmost first. A dialog
// has a dozen children; more than kMaxListed of one class are not looked at.
inline constexpr int kMaxListed = 32;
struct ChildList {
  int count;
  HWND windows[kMaxListed];
};
void ListChildWindows(HWND parent, const char* className, ChildList* list);
// The topmost of them, or 0.
HWND FirstChildOf(HWND parent, const char* className);

// The Edit of the file-name box: a direct child, or inside ComboBoxEx32 > ComboBox, or (the
// item dialog on Windows) at the end of DUIViewWndClassName > DirectUIHWND > FloatNotifySink >
// ComboBox.
HWND FileNameBoxOf(HWND dialog);

// The folder view, which the dialog replaces at every folder change, and its list.
struct FolderViewWindows {
  HWND view = nullptr;  // SHELLDLL_DefView
  HWND list = nullptr;  // its SysListView32
};
FolderViewWindows FolderViewOf(HWND dialog);
// The folder view wherever the dialog keeps it: a direct child, or inside the item dialog's
// ExplorerBrowserControl. It too is replaced at every folder change.
HWND ShownFolderView(HWND dialog);

}  // namespace vt
