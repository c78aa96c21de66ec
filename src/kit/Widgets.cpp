#include "kit/Widgets.h"

namespace vt {

bool Container::Register() { return RegisterWindowClass(kContainerClass, 0, nullptr); }

std::unique_ptr<Container> Container::Create(HWND parent, bool border, bool etched) {
  std::unique_ptr<Container> c(new Container);
  c->etched_ = etched;
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (border ? WS_BORDER : 0);
  if (!c->CreateWindowOf(0, kContainerClass, "", style, 0, 0, 0, 0, parent, nullptr)) return nullptr;
  return c;
}

LRESULT Container::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_VT_SPLITDONE:
      // Controls talk to their parent; the form decides.
      return SendMessageA(GetAncestor(Handle(), GA_ROOT), msg, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      // Labels and frames sit on the panel's face, not on the window colour.
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(Handle(), &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT:
      if (etched_) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        RECT r;
        GetClientRect(Handle(), &r);
        InflateRect(&r, -4, -4);
        DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
        EndPaint(Handle(), &ps);
        return 0;
      }
      break;
  }
  return Default(msg, wParam, lParam);
}

bool Splitter::Register() { return RegisterWindowClass(kSplitterClass, 0, nullptr); }

std::unique_ptr<Splitter> Splitter::Create(HWND parent, bool vertical) {
  std::unique_ptr<Splitter> s(new Splitter);
  s->vertical_ = vertical;
  if (!s->CreateWindowOf(0, kSplitterClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                         nullptr))
    return nullptr;
  return s;
}

LRESULT Splitter::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETCURSOR:
      SetCursor(LoadCursor(nullptr, vertical_ ? IDC_SIZEWE : IDC_SIZENS));
      return TRUE;
    case WM_LBUTTONDOWN:
      dragging_ = true;
      GetCursorPos(&start_);
      SetCapture(Handle());
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragging_) {
        dragging_ = false;
        POINT now;
        GetCursorPos(&now);
        if (msg == WM_LBUTTONUP) ReleaseCapture();
        const LONG delta = vertical_ ? now.x - start_.x : now.y - start_.y;
        // Sizes apply on release only, so the dialog is moved once per drag.
        if (delta != 0)
          SendMessageA(GetAncestor(Handle(), GA_ROOT), WM_VT_SPLITDONE, reinterpret_cast<WPARAM>(Handle()), delta);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      RECT r;
      GetClientRect(Handle(), &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
      EndPaint(Handle(), &ps);
      return 0;
    }
  }
  return Default(msg, wParam, lParam);
}

bool RegisterWidgets() { return Container::Register() && Splitter::Register(); }

}  // namespace vt
