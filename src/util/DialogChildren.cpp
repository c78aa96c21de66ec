#include "util/DialogChildren.h"

#include <cstring>

namespace vt {

bool HasExactClass(HWND window, const char* className) {
  char name[257];  // the longest class name and its NUL
  const int n = GetClassNameA(window, name, sizeof name);
  return n > 0 && std::strcmp(name, className) == 0;
}

void ListChildWindows(HWND parent, const char* className, ChildList* list) {
  list->count = 0;
  if (!parent) return;
  LONG tops[kMaxListed];
  HWND child = nullptr;
  while (list->count < kMaxListed && (child = FindWindowExA(parent, child, className, nullptr)) != nullptr) {
    if (!HasExactClass(child, className)) continue;
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

HWND FileNameBoxOf(HWND dialog) {
  if (HWND edit = FirstChildOf(dialog, "Edit")) return edit;
  HWND comboEx = FirstChildOf(dialog, "ComboBoxEx32");
  HWND combo = comboEx ? FirstChildOf(comboEx, "ComboBox") : nullptr;
  if (HWND edit = combo ? FirstChildOf(combo, "Edit") : nullptr) return edit;
  // One of a few float sinks holds the box.
  HWND ui = FirstChildOf(FirstChildOf(dialog, "DUIViewWndClassName"), "DirectUIHWND");
  ChildList sinks;
  ListChildWindows(ui, "FloatNotifySink", &sinks);
  for (int i = 0; i < sinks.count; ++i)
    if (HWND edit = FirstChildOf(FirstChildOf(sinks.windows[i], "ComboBox"), "Edit")) return edit;
  return nullptr;
}

FolderViewWindows FolderViewOf(HWND dialog) {
  FolderViewWindows w;
  w.view = FirstChildOf(dialog, "SHELLDLL_DefView");
  w.list = w.view ? FirstChildOf(w.view, "SysListView32") : nullptr;
  return w;
}

HWND ShownFolderView(HWND dialog) {
  if (HWND view = FirstChildOf(dialog, "SHELLDLL_DefView")) return view;
  return FirstChildOf(FirstChildOf(dialog, "ExplorerBrowserControl"), "SHELLDLL_DefView");
}

}  // namespace vt
