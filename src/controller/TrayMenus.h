// The resident program's icon in the notification area and its two menus: a left click
// lists the stored hot folders (each opens in a shell window), a right click gives the
// program's commands.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "kit/TrayIcon.h"
#include "panel/HotFolderList.h"
#include "settings/QRegistry.h"
#include "util/Handles.h"

namespace vt {

// The shell's message to the main form for mouse events on the icon, and the icon's number.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 0x31;
inline constexpr UINT kTrayIconId = 1;

struct TrayCommands {
  std::function<void()> startupOptions, help, about, exit;
};

class TrayMenus {
 public:
  // Adds the icon at once.
  TrayMenus(HWND owner, HINSTANCE instance, TQRegistry& reg, TrayCommands commands);
  TrayMenus(const TrayMenus&) = delete;
  TrayMenus& operator=(const TrayMenus&) = delete;

  // The shell's click callback; true when the message was the icon's.
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // "TaskbarCreated": the shell restarted and forgot the icon.
  void TaskbarCreated();

 private:
  void trayClick(TrayIcon::Button button, POINT at);
  void ShowCommandMenu(POINT at);
  void ShowHotFolderMenu(POINT at);
  // pmTrayLPopup: the stored hot folders, read afresh.
  UniqueMenu BuildHotFolderMenu();

  HWND owner_;
  TQRegistry& reg_;
  TrayCommands commands_;
  UniqueIcon icon_;
  std::unique_ptr<TrayIcon> tray_;
  // What the last built hot-folder menu shows: the lists and their item pictures.
  HotFolderList folders_;
  std::vector<UniqueBitmap> pictures_;
};

}  // namespace vt
