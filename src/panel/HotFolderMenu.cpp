// The hot list's pop-up menu: open the entry in a shell window, delete it, add a special
// folder, the list's options.
#include "panel/HotFolders.h"

#include <iterator>
#include <utility>

#include "panel/ShellPlaces.h"
#include "util/ShellOpen.h"

namespace vt {

namespace {

enum HotMenuItem : UINT {
  nnHotExplorer = 1, nnHotRemove, nnHotOptions, nnHotSpecialFirst = 100,
};

struct SpecialFolderItem {
  const char* caption;
  int code;
  bool shown;
};
// Desktop, My Computer and Network are kept out of sight; they are reached only by code.
constexpr SpecialFolderItem kSpecialFolders[] = {
    {"Desktop Folder", CSIDL_DESKTOP, false},   {"My Computer Folder", CSIDL_DRIVES, false},
    {"Network Folder", CSIDL_NETWORK, false},   {"Recent Folder", kRecentFolderCode, true},
    {"Favorites Folder", kFavoritesFolderCode, true}, {"My Documents", kPersonalFolderCode, true},
};

}  // namespace

void HotFolders::HotPopup(POINT screen) {
  if (!hot_) return;
  UniqueMenu pmhot(CreatePopupMenu());
  UniqueMenu special(CreatePopupMenu());
  // pmhotPopup: the entry's own commands only while one is selected.
  const UINT entry = hot_->Selected() >= 0 ? MF_ENABLED : MF_GRAYED;
  AppendMenuA(pmhot.get(), MF_STRING | entry, nnHotExplorer, "Open");
  AppendMenuA(pmhot.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(pmhot.get(), MF_STRING | entry, nnHotRemove, "Delete");
  AppendMenuA(pmhot.get(), MF_SEPARATOR, 0, nullptr);
  for (UINT k = 0; k < std::size(kSpecialFolders); ++k)
    if (kSpecialFolders[k].shown)
      AppendMenuA(special.get(), MF_STRING, nnHotSpecialFirst + k, kSpecialFolders[k].caption);
  AppendPopup(pmhot.get(), 0, std::move(special), "Add Special Folder");
  AppendMenuA(pmhot.get(), MF_STRING, nnHotOptions, "Options...");
  SetMenuDefaultItem(pmhot.get(), nnHotExplorer, FALSE);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(pmhot.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                                       screen.y, 0, ctx_.Wnd(), nullptr));
  pmhot.reset();  // the sub-menu goes with it
  if (chosen == nnHotExplorer) nnHotExplorerClick();
  else if (chosen == nnHotRemove) nnHotRemoveClick();
  else if (chosen == nnHotOptions && showOptions_) showOptions_(1);  // page "QuickPanel"
  else if (chosen >= nnHotSpecialFirst && chosen < nnHotSpecialFirst + std::size(kSpecialFolders))
    nnHotAddSpecialFolderClick(kSpecialFolders[chosen - nnHotSpecialFirst].code);
}

void HotFolders::nnHotExplorerClick() {
  if (hot_ && hot_->Selected() >= 0) OpenInShellWindow(hot_->HotFolderIdList(hot_->Selected()));
}

void HotFolders::nnHotRemoveClick() {
  if (!hot_ || hot_->Selected() < 0) return;
  // The shortcut file stays until the next start cleans the Links folder.
  hot_->DeleteHotFolder(hot_->Selected());
  SaveHotFolders();
}

void HotFolders::nnHotAddSpecialFolderClick(int code) {
  if (!hot_) return;
  const ItemListPtr list = GetSpecialFolderPidl(code);
  if (!list) return;
  const int selected = hot_->Selected();
  const int at = hot_->InsertHotFolder(selected >= 0 ? selected + 1 : hot_->HotFolderCount(), list.get());
  if (at < 0) return;
  GetHotFolderLink(at);
  SaveHotFolders();
}

}  // namespace vt
