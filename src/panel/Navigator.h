// Driving the dialog to a folder the way a user would (type the path, press Enter, wait for
// the new folder view, put the user's text back), following the dialog's folder and selected
// item, and the start folder.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "panel/PanelContext.h"
#include "protocol/CopyData.h"
#include "util/Handles.h"

namespace vt {

// The navigation wait's rounds come from this timer of the panel: the thread sleeps in none
// of them and keeps no posted message in its queue, so the other panels' timers and the main
// window's watch go on meanwhile (a queue that always holds a posted message gets no timer
// message at all).
inline constexpr UINT_PTR kNavigationTimer = 6;

class Navigator {
 public:
  explicit Navigator(PanelContext& ctx) : ctx_(ctx) {}

  // Finds the file-name box; the desktop's list is taken once. A finished wait gives the
  // focus to `focusAfter` (the hot list).
  void Attach(HWND focusAfter);

  void NavigateToFolder(std::string path);
  void NavigateToLink(const std::string& linkPath);
  // One round of the navigation wait (kNavigationTimer); after a link's folder, the wait
  // then opens the link's item.
  void Wait();
  // tmscan: asks the dialog for its folder. Gone when the dialog is gone for good (its
  // program ended without destroying it): the panel must then close.
  enum class ScanResult { Gone, Unchanged, Reported };
  ScanResult Scan();
  // tmOpFolder, once: the start folder of the program's settings.
  void OpenStartFolder(int opMode);

  // Reports from the hook library while the panel asks or types.
  void TextCaught(std::string_view text);
  // A folder report; a malformed one (none) clears the last one.
  void FolderReported(const std::optional<ItemListBytesView>& list);

  // The folder shown, as a path; none for the desktop or a folder without one.
  std::optional<std::string> CurrentFolderPath() const;
  // The last report: the folder shown and the one selected item, either of them none.
  LPCITEMIDLIST CurrentFolder() const { return currentFolder_.get(); }
  LPCITEMIDLIST SelectedItem() const { return selectedItem_.get(); }
  void Release();

 private:
  // The file-name box's text; none when the dialog does not answer.
  std::optional<std::string> FileNameText() const;
  void SetFileNameText(const std::string& text) const;
  enum class WaitFor { Folder, LinkFolder };
  void StartWait(WaitFor what);
  void EndWait();
  // The folder the dialog shows is `path` already (its last report, asked for now).
  bool ShowsFolder(const std::string& path);

  PanelContext& ctx_;
  HWND focusAfter_ = nullptr;
  HWND fileNameEdit_ = nullptr;
  HWND viewBeforeNavigation_ = nullptr;
  std::string savedEditText_, targetItemName_;
  int waitCount_ = 0;
  WaitFor waitFor_ = WaitFor::Folder;
  ItemListPtr desktop_, currentFolder_, selectedItem_, reply_;
};

}  // namespace vt
