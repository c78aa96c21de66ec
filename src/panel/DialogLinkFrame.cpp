// The panel's caption bar: painted by the panel over the standard one, with its own maximise
// and close buttons, and window drags that move an outline so the dialog follows once.
#include "panel/CaptionPaint.h"
#include "panel/DialogLink.h"
#include "util/Handles.h"

namespace vt {

int DialogLink::CaptionButtonUnderCursor() const {
  POINT p;
  RECT w;
  if (!GetCursorPos(&p) || !GetWindowRect(ctx_.Wnd(), &w)) return 0;
  return CaptionButtonAt(Point{p.x - w.left, p.y - w.top}, w.right - w.left, SystemCaptionButtonMetrics());
}

LRESULT DialogLink::SysCommand(WPARAM wParam, LPARAM lParam) {
  HWND wnd = ctx_.Wnd();
  const UINT command = static_cast<UINT>(wParam) & 0xFFF0;
  if (command != SC_MOVE && command != SC_SIZE) return DefWindowProcA(wnd, WM_SYSCOMMAND, wParam, lParam);
  // Drag an outline: the dialog then follows once, when the panel is dropped.
  SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &savedDragFullWindows_, 0);
  SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
  ctx_.Post(VTM_RESTOREDRAG);
  if (const int button = CaptionButtonUnderCursor()) {
    pressedButton_ = button;
    hoverButton_ = button;
    SetCapture(wnd);
    RepaintFrame();
    return 0;
  }
  if (ctx_.Maximized()) return 0;
  return DefWindowProcA(wnd, WM_SYSCOMMAND, wParam, lParam);
}

void DialogLink::RestoreDrag() {
  SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, savedDragFullWindows_, nullptr, 0);
}

void DialogLink::MouseMoved() {
  const int at = CaptionButtonUnderCursor();
  if (at == hoverButton_) return;
  hoverButton_ = at;
  RepaintFrame();
}

void DialogLink::ButtonReleased() {
  HWND wnd = ctx_.Wnd();
  ReleaseCapture();
  if (pressedButton_ != 0 && pressedButton_ == hoverButton_) {
    if (pressedButton_ == 1)
      PostMessageA(wnd, WM_SYSCOMMAND, ctx_.Maximized() ? SC_RESTORE : SC_MAXIMIZE, 0);
    else
      PostMessageA(wnd, WM_CLOSE, 0, 0);
  }
  pressedButton_ = 0;
  RepaintFrame();
}

void DialogLink::RepaintFrame() {
  HWND wnd = ctx_.Wnd();
  if (!wnd || !IsWindowVisible(wnd)) return;
  CaptionLook look;
  const HWND fg = GetForegroundWindow();
  look.active = IsWindowEnabled(wnd) && (fg == wnd || fg == ctx_.dialog);
  look.maximized = ctx_.Maximized();
  look.hoverButton = hoverButton_;
  look.pressedButton = pressedButton_;
  char title[1024] = {};
  GetWindowTextA(wnd, title, sizeof title);
  look.title = title;
  PaintCaption(wnd, look);
}

void DialogLink::PaintNonClient(WPARAM region) {
  // The frame and menu bar get the system's painting; the caption bar is left out of it so
  // that the standard caption never shows before ours covers it.
  HWND wnd = ctx_.Wnd();
  RECT w;
  GetWindowRect(wnd, &w);
  const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME), cy = GetSystemMetrics(SM_CYCAPTION);
  UniqueRegion area(CreateRectRgn(w.left, w.top, w.right, w.bottom));
  // A region handle from the message is only ever combined from: a wrong one fails the call.
  if (region > 1) CombineRgn(area.get(), reinterpret_cast<HRGN>(region), nullptr, RGN_COPY);
  UniqueRegion caption(CreateRectRgn(w.left + fx, w.top + fy, w.right - fx, w.top + fy + cy));
  CombineRgn(area.get(), area.get(), caption.get(), RGN_DIFF);
  DefWindowProcA(wnd, WM_NCPAINT, reinterpret_cast<WPARAM>(area.get()), 0);
  RepaintFrame();
}

}  // namespace vt
