#include "panel/PanelWidgets.h"

#include <windowsx.h>

namespace vt {

namespace {

constexpr LONG kEtchedStyle = 0x0001;  // the class's own style bit

LRESULT CALLBACK ContainerProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_VT_SPLITDONE:
      // Controls talk to their parent; the form decides.
      return SendMessageA(GetAncestor(w, GA_ROOT), msg, wp, lp);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      // Labels and frames sit on the panel's face, not on the window colour.
      SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(w, &r);
      FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT:
      if (GetWindowLongA(w, GWL_STYLE) & kEtchedStyle) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        RECT r;
        GetClientRect(w, &r);
        InflateRect(&r, -4, -4);
        DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
        EndPaint(w, &ps);
        return 0;
      }
      break;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

struct Drag {
  bool active = false;
  POINT start{};
};

LRESULT CALLBACK SplitterProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* drag = reinterpret_cast<Drag*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  const bool vertical = (GetWindowLongA(w, GWL_STYLE) & 1) != 0;  // style bit 0 set at creation
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new Drag));
      break;
    case WM_NCDESTROY:
      delete drag;
      SetWindowLongPtrA(w, GWLP_USERDATA, 0);
      break;
    case WM_SETCURSOR:
      SetCursor(LoadCursor(nullptr, vertical ? IDC_SIZEWE : IDC_SIZENS));
      return TRUE;
    case WM_LBUTTONDOWN:
      if (drag) {
        drag->active = true;
        GetCursorPos(&drag->start);
        SetCapture(w);
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (drag && drag->active) {
        drag->active = false;
        POINT now;
        GetCursorPos(&now);
        if (msg == WM_LBUTTONUP) ReleaseCapture();
        const LONG delta = vertical ? now.x - drag->start.x : now.y - drag->start.y;
        // Sizes apply on release only, so the dialog is moved once per drag.
        if (delta != 0) SendMessageA(GetAncestor(w, GA_ROOT), WM_VT_SPLITDONE, reinterpret_cast<WPARAM>(w), delta);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      RECT r;
      GetClientRect(w, &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
      EndPaint(w, &ps);
      return 0;
    }
  }
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

bool RegisterPanelWidgets(HINSTANCE instance) {
  WNDCLASSA c{};
  c.hInstance = instance;
  c.hCursor = LoadCursor(nullptr, IDC_ARROW);
  c.lpfnWndProc = ContainerProc;
  c.lpszClassName = kContainerClass;
  if (!RegisterClassA(&c) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  c.lpfnWndProc = SplitterProc;
  c.lpszClassName = kSplitterClass;
  if (!RegisterClassA(&c) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  return true;
}

HWND CreateContainer(HWND parent, bool border, bool etched) {
  return CreateWindowExA(0, kContainerClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                         (border ? WS_BORDER : 0) | (etched ? kEtchedStyle : 0), 0, 0, 0, 0, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

HWND CreateSplitter(HWND parent, bool vertical) {
  return CreateWindowExA(0, kSplitterClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (vertical ? 1 : 0),
                         0, 0, 0, 0, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace vt
