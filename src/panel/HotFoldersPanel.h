// TQHotFoldersPanel: the hot folders' list control. A report-view list of one column with the
// shell's names and small icons, holding the entries (identifier list and shortcut name) in
// the user's order. It hangs in its column between two arrow bars and is scrolled by moving
// it; the press, move, release and key events go to the panel that owns it.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/ShellDropTarget.h"
#include "panel/HotFolderList.h"
#include "panel/HotRules.h"

namespace vt {

class HotListEvents {
 public:
  virtual void HotMouseDown(POINT at) = 0;
  // held: HotHeld bits of the buttons and keys held.
  virtual void HotMouseMove(POINT at, unsigned held) = 0;
  virtual void HotMouseUp() = 0;
  virtual void HotKeyUp() = 0;
  virtual void HotPopup(POINT screen) = 0;

 protected:
  ~HotListEvents() = default;
};

class TQHotFoldersPanel {
 public:
  // A child of `column`; null when the list cannot be made.
  static std::unique_ptr<TQHotFoldersPanel> Create(HWND column);
  // The process's one list of the system's small icons, shared by every hot list. The shell's
  // lookup of it costs a few hundred milliseconds the first time: it is asked for once.
  static HIMAGELIST SystemSmallIcons();
  ~TQHotFoldersPanel();
  TQHotFoldersPanel(const TQHotFoldersPanel&) = delete;
  TQHotFoldersPanel& operator=(const TQHotFoldersPanel&) = delete;

  HWND Handle() const { return list_; }
  // Events to `events`, drops to `drops` (registered now); arrow bars scroll on press.
  void Connect(HotListEvents& events, ShellDropSink& drops, HWND upBar, HWND downBar);
  void Disconnect();

  int HotFolderCount() const { return entries_.Count(); }
  // Still owned by the entry.
  LPCITEMIDLIST HotFolderIdList(int i) const;
  // The entry's file-system path; empty for a virtual folder.
  std::string HotFolderPath(int i) const;
  // A copy of idList at i (appended for i at or beyond the count); the position taken, or
  // -1 when the list is damaged.
  int InsertHotFolder(int i, LPCITEMIDLIST idList);
  void DeleteHotFolder(int i);
  // LinkNames: the entry's shortcut file name.
  const std::string& LinkName(int i) const { return entries_.At(i).linkName; }
  void SetLinkName(int i, std::string name) { entries_.At(i).linkName = std::move(name); }
  const HotFolderList& Entries() const { return entries_; }
  // Everything replaced (selection gone).
  void Assign(const HotFolderList& list);

  int Selected() const;
  bool IsEntry(int i) const { return i >= 0 && i < HotFolderCount(); }

  // Scrolling inside the column.
  void ColumnResized(int columnWidth, int clientWidth, HotColumn bars);
  // After the entries changed: no gap below the last one.
  void Refit();
  void ScrollUp();
  void ScrollDown();
  void ScrollHotIntoView(int i);
  // Insertion position for a drop at client y.
  int DropPosition(int y) const;

 private:
  explicit TQHotFoldersPanel(HWND list) : list_(list) {}
  static LRESULT CALLBACK ListProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK ArrowProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT ListMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
  void AddItem(int at);
  void SelectAt(POINT at);
  std::optional<RECT> ItemRect(int i) const;
  std::optional<int> LastBottom() const;
  void MoveTo(int top);

  HWND list_;
  HWND up_ = nullptr, down_ = nullptr;
  HotListEvents* events_ = nullptr;
  std::unique_ptr<ShellDropTarget> dropTarget_;
  HotFolderList entries_;
  HotColumn bars_;
  int top_ = 16;
  int width_ = 0;
};

}  // namespace vt
