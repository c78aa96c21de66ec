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

}  // namespace vt::hook
