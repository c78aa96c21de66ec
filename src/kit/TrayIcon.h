// The notification-area icon: added with its hint while Active, removed otherwise, and the
// clicks on it as the owner window receives them (press and release of one button).
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace vt {

class TrayIcon {
 public:
  // `callback` is the message the shell sends the owner for mouse events on the icon.
  TrayIcon(HWND owner, UINT id, UINT callback, HICON icon, std::string hint)
      : owner_(owner), id_(id), callback_(callback), icon_(icon), hint_(std::move(hint)) {}
  ~TrayIcon() { SetActive(false); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  bool Active() const { return active_; }
  void SetActive(bool on);

  enum class Button { Left, Right };
  struct Click {
    Button button;
    POINT at;  // the cursor, screen coordinates
  };
  // For a message of the owner: the click it completes, if any. Only the shell's callback
  // message for this icon counts; its parameters carry numbers, nothing to dereference.
  std::optional<Click> ClickOf(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  bool Notify(DWORD what);

  HWND owner_;
  UINT id_, callback_;
  HICON icon_;  // the owner's; not destroyed here
  std::string hint_;
  bool active_ = false;
  UINT pressed_ = 0;  // the button message that went down on the icon
};

}  // namespace vt
