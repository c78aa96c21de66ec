// The panel's hot-folder part: loads and saves the list, finds or makes the shortcut a
// virtual folder is opened through, opens entries in the dialog on a click or key release,
// adds folders dropped from the shell, moves entries dragged inside the list, and serves the
// list's pop-up menu. All open panels show one stored list: a panel that saves it makes the
// others load it again.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "panel/HotFoldersPanel.h"
#include "panel/Navigator.h"
#include "panel/PanelContext.h"
#include "util/Handles.h"

namespace vt {

class HotFolders final : public HotListEvents, public ShellDropSink {
 public:
  // showOptions opens the options dialog on a page (1: the list's looks).
  HotFolders(PanelContext& ctx, Navigator& navigator, std::function<void(int)> showOptions);
  ~HotFolders();
  HotFolders(const HotFolders&) = delete;
  HotFolders& operator=(const HotFolders&) = delete;

  // After the form made its components: the list, its arrow bars.
  void Attach(TQHotFoldersPanel* list, HWND upBar, HWND downBar);
  void Release();

  void LoadHotFolders();
  void SaveHotFolders();
  bool NeedsLink(int i) const;
  // Full path of a usable shortcut for entry i, made when missing; empty when the entry
  // needs none or none could be made.
  std::string GetHotFolderLink(int i);
  void OpenHotFolder(int i);

  // The list's events.
  void HotMouseDown(POINT at) override;
  void HotMouseMove(POINT at, unsigned held) override;
  void HotMouseUp() override;
  void HotKeyUp() override { HotMouseUp(); }
  void HotPopup(POINT screen) override;
  // Drops on the list.
  DWORD DropTargetDragOver(const ShellDropData& data, POINT client) override;
  DWORD DropTargetDrop(const ShellDropData& data, POINT client) override;

 private:
  bool IsDroppableFolder(const ShellDropData& data);
  bool Acceptable(const ShellDropData& data);
  void nnHotExplorerClick();
  void nnHotRemoveClick();
  void nnHotAddSpecialFolderClick(int code);
  void Saved();

  PanelContext& ctx_;
  Navigator& navigator_;
  std::function<void(int)> showOptions_;
  TQHotFoldersPanel* hot_ = nullptr;
  ItemListPtr desktopIdList_;
  POINT hotDown_{};
  int hotDragIndex_ = -1;
  // The last object asked about during a drag, and the answer: the pointer moves often.
  IdListBytes droppableAsked_;
  bool droppable_ = false;
};

}  // namespace vt
