#include "dialogs/FormWindow.h"

namespace vt {

bool FormWindow::RegisterFormClass(const char* name) {
  return RegisterWindowClass(name, CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE));
}

bool FormWindow::CreateForm(const char* className, const char* caption, int width, int height, HWND owner) {
  font_.reset(CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, DEFAULT_PITCH | FF_SWISS,
                          "MS Sans Serif"));
  bold_.reset(CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, DEFAULT_PITCH | FF_SWISS,
                          "MS Sans Serif"));
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  if (!CreateWindowOf(exStyle, className, caption, style, x, y, w, h, owner, nullptr)) return false;
  UseDialogKeys();
  return true;
}

HWND FormWindow::Add(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
                     bool bold) {
  HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (c) SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(bold ? bold_.get() : font_.get()), FALSE);
  return c;
}

bool FormWindow::Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void FormWindow::SetChecked(HWND button, bool on) {
  SendMessageA(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void FrameBlack(HDC dc, const RECT& r) {
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  FrameRect(dc, &r, black);
}

}  // namespace vt
