#include "hooklib/DialogWindows.h"

#include <commctrl.h>

namespace vt::hook {

bool Win32WindowTree::HasClass(WindowId window, const char* className) const {
  return HasExactClass(reinterpret_cast<HWND>(window), className);
}

WindowId Win32WindowTree::NextChild(WindowId parent, WindowId after, const char* className) const {
  return reinterpret_cast<WindowId>(
      FindWindowExA(reinterpret_cast<HWND>(parent), reinterpret_cast<HWND>(after), className, nullptr));
}

bool IsFileDialog(HWND window) {
  Win32WindowTree tree;
  return hook::IsFileDialog(tree, reinterpret_cast<WindowId>(window));
}

HWND FindFolderCombo(HWND dialog) {
  ChildList list;
  ListChildWindows(dialog, "ComboBox", &list);
  return list.count == 2 ? list.windows[0] : nullptr;
}

int GetSingleSelection(HWND listView) {
  if (SendMessageA(listView, LVM_GETSELECTEDCOUNT, 0, 0) != 1) return -1;
  return static_cast<int>(SendMessageA(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

}  // namespace vt::hook
