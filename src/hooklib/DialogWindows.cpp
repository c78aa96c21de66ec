#include "hooklib/DialogWindows.h"

#include <commctrl.h>

#include <cstring>

namespace vt::hook {

bool Win32WindowTree::HasClass(WindowId window, const char* className) const {
  char name[1025];
  int n = GetClassNameA(reinterpret_cast<HWND>(window), name, sizeof name);
  return n > 0 && std::strcmp(name, className) == 0;
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

void ListChildWindows(HWND parent, const char* className, ChildList* list) {
  list->count = 0;
  if (!parent) return;
  LONG tops[kMaxListed];
  HWND child = nullptr;
  // FindWindowExA by class compares without regard to case; the class must match exactly.
  Win32WindowTree tree;
  while (list->count < kMaxListed && (child = FindWindowExA(parent, child, className, nullptr)) != nullptr) {
    if (!tree.HasClass(reinterpret_cast<WindowId>(child), className)) continue;
    RECT rc{};
    GetWindowRect(child, &rc);
    // Insertion by top edge: the lists are a few windows long.
    int at = list->count;
    while (at > 0 && tops[at - 1] > rc.top) {
      tops[at] = tops[at - 1];
      list->windows[at] = list->windows[at - 1];
      --at;
    }
    tops[at] = rc.top;
    list->windows[at] = child;
    ++list->count;
  }
}

HWND FirstChildOf(HWND parent, const char* className) {
  ChildList list;
  ListChildWindows(parent, className, &list);
  return list.count > 0 ? list.windows[0] : nullptr;
}

HWND FindShellListView(HWND dialog) {
  HWND view = FirstChildOf(dialog, "SHELLDLL_DefView");
  return view ? FirstChildOf(view, "SysListView32") : nullptr;
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

HWND FindFileNameBox(HWND dialog) {
  HWND edit = FirstChildOf(dialog, "Edit");
  if (edit) return edit;
  Win32WindowTree tree;
  if (WindowId box = ItemDialogFileNameBox(tree, reinterpret_cast<WindowId>(dialog))) return reinterpret_cast<HWND>(box);
  HWND comboEx = FirstChildOf(dialog, "ComboBoxEx32");
  HWND combo = comboEx ? FirstChildOf(comboEx, "ComboBox") : nullptr;
  return combo ? FirstChildOf(combo, "Edit") : nullptr;
}

}  // namespace vt::hook
