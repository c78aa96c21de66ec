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

bool IsItemDialog(HWND window) {
  Win32WindowTree tree;
  return hook::IsItemDialog(tree, reinterpret_cast<WindowId>(window));
}

namespace {
// A bounded walk for the first window of the class below `root`: the nested layout puts the
// folder view a few levels down among a few dozen windows.
HWND FindDescendant(HWND root, const char* className, int depth, int* budget) {
  Win32WindowTree tree;
  for (HWND c = FindWindowExA(root, nullptr, nullptr, nullptr); c && --*budget > 0;
       c = FindWindowExA(root, c, nullptr, nullptr)) {
    if (tree.HasClass(reinterpret_cast<WindowId>(c), className)) return c;
    if (depth > 0)
      if (HWND found = FindDescendant(c, className, depth - 1, budget)) return found;
  }
  return nullptr;
}
}  // namespace

HWND ItemDialogBrowserHost(HWND dialog) {
  if (HWND browser = FirstChildOf(dialog, "ExplorerBrowserControl")) return browser;
  int budget = 256;
  HWND view = FindDescendant(dialog, "SHELLDLL_DefView", 6, &budget);
  return view ? GetParent(view) : nullptr;
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
