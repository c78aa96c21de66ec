#include "kit/QBitBtn.h"

#include <commctrl.h>

namespace vt {

namespace {
constexpr UINT_PTR kSubclassId = 0x51B7;
}  // namespace

std::unique_ptr<TQBitBtn> TQBitBtn::Create(HWND parent, int id, const char* caption, int x, int y, int width,
                                           int height, HBITMAP glyph) {
  std::unique_ptr<TQBitBtn> b(new TQBitBtn);
  b->glyph_.reset(glyph);
  b->window_ = CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, x, y, width,
                               height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
  if (!b->window_ || !SetWindowSubclass(b->window_, Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(b.get()))) {
    if (b->window_) DestroyWindow(b->window_);
    return nullptr;
  }
  SendMessageA(b->window_, WM_SETFONT, SendMessageA(parent, WM_GETFONT, 0, 0), FALSE);
  return b;
}

TQBitBtn::~TQBitBtn() {
  if (!window_) return;
  RemoveWindowSubclass(window_, Proc, kSubclassId);
  DestroyWindow(window_);
}

void TQBitBtn::SetRound(bool round) {
  round_ = round;
  SendMessageA(window_, WM_SIZE, 0, 0);
}

void TQBitBtn::Outline() {
  RECT r;
  GetClientRect(window_, &r);
  const int w = r.right, h = r.bottom;
  // Both ends half circles: the corner ellipse is as high and as wide as the button.
  UniqueRegion region(round_ ? CreateRoundRectRgn(2, 0, w - 1, h - 1, h, h) : CreateRectRgn(0, 0, w, h));
  // The window owns the region once it is installed.
  if (region && SetWindowRgn(window_, region.get(), TRUE)) (void)region.release();
}

void TQBitBtn::Redraw() {
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
}

void TQBitBtn::Paint(HDC dc) {
  RECT r;
  GetClientRect(window_, &r);
  const LRESULT state = SendMessageA(window_, BM_GETSTATE, 0, 0);
  const bool pushed = (state & BST_PUSHED) != 0;
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  RECT inner = r;
  InflateRect(&inner, -3, -3);
  if (pushed) OffsetRect(&inner, 1, 1);
  char text[256] = {};
  GetWindowTextA(window_, text, sizeof text);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0));
  Selected selected(dc, font);
  SIZE textSize{};
  GetTextExtentPoint32A(dc, text, lstrlenA(text), &textSize);
  BITMAP bm{};
  const bool hasGlyph = glyph_ && GetObjectA(glyph_.get(), sizeof bm, &bm) != 0;
  const int gap = hasGlyph && text[0] ? 4 : 0;
  const int contentWidth = (hasGlyph ? bm.bmWidth : 0) + gap + textSize.cx;
  int x = inner.left + (inner.right - inner.left - contentWidth) / 2;
  if (hasGlyph) {
    UniqueMemoryDc mem(CreateCompatibleDC(dc));
    Selected picture(mem.get(), glyph_.get());
    BitBlt(dc, x, inner.top + (inner.bottom - inner.top - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, mem.get(), 0, 0,
           SRCCOPY);
    x += bm.bmWidth + gap;
  }
  SetBkMode(dc, TRANSPARENT);
  const bool enabled = IsWindowEnabled(window_) != FALSE;
  SetTextColor(dc, enabled ? caption_ : GetSysColor(COLOR_GRAYTEXT));
  RECT textRect{x, inner.top, x + textSize.cx, inner.bottom};
  DrawTextA(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (GetFocus() == window_) DrawFocusRect(dc, &inner);
}

LRESULT TQBitBtn::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window_, &ps);
      Paint(dc);
      EndPaint(window_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      // Built from the window's own size: the message may carry none (see SetRound).
      Outline();
      break;
    case WM_MOUSEMOVE:
      if (!inside_) {
        inside_ = true;
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, window_, 0};
        TrackMouseEvent(&t);
        caption_ = kHoverCaption;
        Redraw();
      }
      break;
    case WM_MOUSELEAVE:
      inside_ = false;
      caption_ = kCaption;
      Redraw();
      break;
    case WM_NCDESTROY: {
      HWND w = window_;
      RemoveWindowSubclass(w, Proc, kSubclassId);
      window_ = nullptr;
      return DefSubclassProc(w, msg, wp, lp);
    }
  }
  const LRESULT r = DefSubclassProc(window_, msg, wp, lp);
  switch (msg) {
    // The standard button may draw these changes itself; ours is drawn over it.
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
      Redraw();
      break;
  }
  return r;
}

LRESULT CALLBACK TQBitBtn::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  TQBitBtn* button = reinterpret_cast<TQBitBtn*>(self);
  if (!button || button->window_ != w) return DefSubclassProc(w, msg, wp, lp);
  // Nothing may unwind through the system's frames.
  try {
    return button->Handle(msg, wp, lp);
  } catch (...) {
    return 0;
  }
}

}  // namespace vt
