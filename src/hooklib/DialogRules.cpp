#include "hooklib/DialogRules.h"

namespace vt::hook {

int CountChildrenUpTo(const WindowTree& tree, WindowId parent, const char* className, int limit) {
  int count = 0;
  WindowId child = 0;
  while (count < limit) {
    child = tree.NextChild(parent, child, className);
    if (!child) break;
    ++count;
  }
  return count;
}

namespace {
struct ChildRule {
  const char* className;
  int exactly;
};
// The Explorer-style Open/Save dialog's own controls; a customised dialog with extra
// controls of these classes is not recognised.
constexpr ChildRule kFileDialogChildren[] = {
    {"ListBox", 1}, {"ComboBox", 2}, {"Button", 4}, {"Static", 4}};
}  // namespace

bool IsFileDialog(const WindowTree& tree, WindowId window) {
  if (!window || !tree.HasClass(window, kDialogClass)) return false;
  for (const ChildRule& rule : kFileDialogChildren)
    if (CountChildrenUpTo(tree, window, rule.className, rule.exactly + 1) != rule.exactly)
      return false;
  return true;
}

WindowId ItemDialogFileNameBox(const WindowTree& tree, WindowId window) {
  if (!window || !tree.HasClass(window, kDialogClass)) return 0;
  if (tree.NextChild(window, 0, "idlg_container_pane") && tree.NextChild(window, 0, "ExplorerBrowserControl"))
    return tree.NextChild(window, 0, "Edit");
  // Each step takes the first child of its class; the float sinks are few.
  WindowId ui = tree.NextChild(tree.NextChild(window, 0, "DUIViewWndClassName"), 0, "DirectUIHWND");
  if (!ui) return 0;
  WindowId sink = 0;
  for (int i = 0; i < 8 && (sink = tree.NextChild(ui, sink, "FloatNotifySink")) != 0; ++i)
    if (WindowId edit = tree.NextChild(tree.NextChild(sink, 0, "ComboBox"), 0, "Edit")) return edit;
  return 0;
}

bool IsItemDialog(const WindowTree& tree, WindowId window) { return ItemDialogFileNameBox(tree, window) != 0; }

}  // namespace vt::hook
