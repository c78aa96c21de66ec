// Which windows are standard file dialogs, decided over a minimal view of the window tree so
// that the rule can be checked without a desktop. The Windows side answers through
// FindWindowExA and GetClassNameA.
#pragma once
#include <cstdint>

namespace vt::hook {

using WindowId = std::uintptr_t;

class WindowTree {
 public:
  // True when the window's class name is exactly `className` (case-sensitive).
  virtual bool HasClass(WindowId window, const char* className) const = 0;
  // The next direct child of `parent` after `after` (0 = the first) whose class is
  // `className`; 0 when there is none.
  virtual WindowId NextChild(WindowId parent, WindowId after, const char* className) const = 0;

 protected:
  ~WindowTree() = default;
};

inline constexpr char kDialogClass[] = "#32770";

// Direct children of `parent` of the class, counted up to `limit`: a result of `limit`
// means "at least that many". Never walks further than needed.
int CountChildrenUpTo(const WindowTree& tree, WindowId parent, const char* className, int limit);

// A "#32770" window with exactly 1 ListBox, 2 ComboBoxes, 4 Buttons and 4 Statics as direct
// children. Cheapest test first: a window of any other class costs one class-name check.
bool IsFileDialog(const WindowTree& tree, WindowId window);

// The common item dialog (IFileOpenDialog, IFileSaveDialog): a "#32770" holding either Wine's
// layout (an idlg_container_pane, an ExplorerBrowserControl and the file-name Edit as direct
// children) or Windows' (the file-name Edit at the end of DUIViewWndClassName >
// DirectUIHWND > FloatNotifySink > ComboBox). A handful of lookups at most.
bool IsItemDialog(const WindowTree& tree, WindowId window);
// The item dialog's file-name Edit in either layout; 0 when there is none.
WindowId ItemDialogFileNameBox(const WindowTree& tree, WindowId window);

}  // namespace vt::hook
