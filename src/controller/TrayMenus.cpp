#include "controller/TrayMenus.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "settings/Catalogue.h"
#include "settings/Product.h"
#include "util/ShellOpen.h"

namespace vt {

namespace {

enum TrayCommand : UINT { nnStartup = 1, nnHelp, nnAbout, nnExit, nnTrayLFirst = 100 };

// The folder's icon drawn on the menu's colour, for the item's picture.
HBITMAP MenuPicture(HIMAGELIST icons, int index) {
  if (!icons) return nullptr;
  WindowDc screen(nullptr);
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), cx, cy));
  if (!dc || !bitmap) return nullptr;
  {
    Selected into(dc.get(), bitmap.get());
    RECT r{0, 0, cx, cy};
    FillRect(dc.get(), &r, GetSysColorBrush(COLOR_MENU));
    ImageList_Draw(icons, index, dc.get(), 0, 0, ILD_TRANSPARENT);
  }
  return bitmap.release();
}

}  // namespace

TrayMenus::TrayMenus(HWND owner, HINSTANCE instance, TQRegistry& reg, TrayCommands commands)
    : owner_(owner), reg_(reg), commands_(std::move(commands)) {
  icon_.reset(static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0)));
  tray_ = std::make_unique<TrayIcon>(owner_, kTrayIconId, kTrayCallbackMessage,
                                     icon_ ? icon_.get() : LoadIconA(nullptr, IDI_APPLICATION), ProductCaption());
  tray_->SetActive(true);
}

bool TrayMenus::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != kTrayCallbackMessage) return false;
  if (const auto click = tray_->ClickOf(msg, wParam, lParam)) trayClick(click->button, click->at);
  return true;
}

void TrayMenus::TaskbarCreated() {
  // Off and on again: the shell has a new notification area that knows nothing of it.
  tray_->SetActive(false);
  tray_->SetActive(true);
}

void TrayMenus::trayClick(TrayIcon::Button button, POINT at) {
  // The hidden form in front first, so that the menu closes on a click elsewhere.
  SetForegroundWindow(owner_);
  const POINT place{at.x - 10, at.y - 10};
  if (button == TrayIcon::Button::Right) ShowCommandMenu(place);
  else ShowHotFolderMenu(place);
  PostMessageA(owner_, WM_NULL, 0, 0);
}

void TrayMenus::ShowCommandMenu(POINT at) {
  UniqueMenu menu(CreatePopupMenu());
  AppendMenuA(menu.get(), MF_STRING, nnStartup, "Startup Options");
  AppendMenuA(menu.get(), MF_STRING, nnHelp, "Help");
  AppendMenuA(menu.get(), MF_STRING, nnAbout, "About");
  AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.get(), MF_STRING, nnExit, "Exit");
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner_, nullptr));
  const std::function<void()>* command = chosen == nnStartup ? &commands_.startupOptions
                                         : chosen == nnHelp  ? &commands_.help
                                         : chosen == nnAbout ? &commands_.about
                                         : chosen == nnExit  ? &commands_.exit
                                                             : nullptr;
  if (command && *command) (*command)();
}

UniqueMenu TrayMenus::BuildHotFolderMenu() {
  pictures_.clear();
  folders_.Load(reg_, kTrayIdListCapacity);
  UniqueMenu menu(CreatePopupMenu());
  SHFILEINFOA info{};
  const auto icons =
      reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  for (int n = 0; n < folders_.Count(); ++n) {
    info = SHFILEINFOA{};
    SHGetFileInfoA(reinterpret_cast<LPCSTR>(folders_.At(n).idList.data()), 0, &info, sizeof info,
                   SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX);
    pictures_.emplace_back(MenuPicture(icons, info.iIcon));
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
    item.wID = nnTrayLFirst + static_cast<UINT>(n);
    item.dwTypeData = info.szDisplayName;
    item.hbmpItem = pictures_.back().get();
    InsertMenuItemA(menu.get(), static_cast<UINT>(n), TRUE, &item);
  }
  return menu;
}

void TrayMenus::ShowHotFolderMenu(POINT at) {
  UniqueMenu menu = BuildHotFolderMenu();
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner_, nullptr));
  menu.reset();
  const int n = static_cast<int>(chosen) - static_cast<int>(nnTrayLFirst);
  if (chosen >= nnTrayLFirst && n < folders_.Count())
    OpenInShellWindow(reinterpret_cast<LPCITEMIDLIST>(folders_.At(n).idList.data()));
}

}  // namespace vt
