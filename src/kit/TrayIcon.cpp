#include "kit/TrayIcon.h"

#include <shellapi.h>

#include <cstring>

namespace vt {

bool TrayIcon::Notify(DWORD what) {
  NOTIFYICONDATAA data{};
  // The first layout of the record: every shell version takes it.
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = owner_;
  data.uID = id_;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = callback_;
  data.hIcon = icon_;
  std::strncpy(data.szTip, hint_.c_str(), 63);
  return Shell_NotifyIconA(what, &data) != FALSE;
}

void TrayIcon::SetActive(bool on) {
  if (on == active_ || !owner_) return;
  if (on) {
    active_ = Notify(NIM_ADD);
  } else {
    Notify(NIM_DELETE);
    active_ = false;
  }
}

std::optional<TrayIcon::Click> TrayIcon::ClickOf(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != callback_ || wParam != id_) return std::nullopt;
  const UINT mouse = static_cast<UINT>(lParam);
  if (mouse == WM_LBUTTONDOWN || mouse == WM_RBUTTONDOWN) {
    pressed_ = mouse;
    return std::nullopt;
  }
  if (mouse != WM_LBUTTONUP && mouse != WM_RBUTTONUP) return std::nullopt;
  // A release without its press on the icon (it began elsewhere) is no click; a release
  // alone is still taken, as some shells send no press before it.
  const UINT down = mouse == WM_LBUTTONUP ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
  if (pressed_ != 0 && pressed_ != down) {
    pressed_ = 0;
    return std::nullopt;
  }
  pressed_ = 0;
  Click click{mouse == WM_LBUTTONUP ? Button::Left : Button::Right, {}};
  GetCursorPos(&click.at);
  return click;
}

}  // namespace vt
