#include "dialogs/About.h"

#include <windowsx.h>

#include "kit/JpegDecoder.h"

namespace vt {

namespace {
constexpr int kClientWidth = 408, kClientHeight = 209;

HFONT TimesBold(int height) {
  return CreateFontA(-height, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, DEFAULT_PITCH | FF_ROMAN,
                     "Times New Roman");
}

// The picture stored with the program, through the same decoder as the preview's JPEGs.
PixelImage LoadTile() {
  PixelImage tile;
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, kAboutTileResource, MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(self, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (data) DecodeJpeg(static_cast<const std::uint8_t*>(data), SizeofResource(self, found), 8, tile);
  return tile;
}
}  // namespace

std::unique_ptr<TVTAbout> TVTAbout::Create(AboutEnvironment env) {
  std::unique_ptr<TVTAbout> form(new TVTAbout(std::move(env)));
  if (!RegisterFormClass(kAboutClass) || !form->CreateForm(kAboutClass, "About", kClientWidth, kClientHeight, nullptr))
    return nullptr;
  form->FormCreate();
  return form;
}

TVTAbout::~TVTAbout() { DestroyQuietly(); }

void TVTAbout::FormCreate() {
  tile_ = LoadTile();
  big_.reset(TimesBold(29));
  small_.reset(TimesBold(13));
  link_.reset(TimesBold(15));
  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  labels_[kVersion] = {{0, 6, 409, 43}, env_.productCaption, big_.get(), {}, RGB(0, 0, 0), -2, 2, true};
  labels_[kVersion].hover.colour = RGB(0, 0, 255);
  labels_[kSystems] = {{104, 46, 305, 61}, "for Windows 95/98/Me/NT/2000/XP", small_.get(), {}, highlight, -1, -1, false};
  labels_[kVisit] = {{117, 136, 291, 153}, "Visit Vantrel site", link_.get(), {}, highlight, -1, -1, false};
  labels_[kMail] = {{99, 156, 310, 173}, "E-mail: " + env_.supportAddress, link_.get(), {}, highlight, -1, -1, false};
  labels_[kVisit].hover.colour = labels_[kMail].hover.colour = GetSysColor(COLOR_WINDOWTEXT);
}

void TVTAbout::ShowOrFront() {
  if (!IsWindowVisible(Handle())) ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
}

void TVTAbout::pbPaint(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (!tile_.Empty()) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, tile_.width, -tile_.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const int columns = client.right / tile_.width + 1, rows = client.bottom / tile_.height + 1;
    for (int row = 0; row < rows; ++row)
      for (int column = 0; column < columns; ++column)
        SetDIBitsToDevice(dc, column * tile_.width, row * tile_.height, tile_.width, tile_.height, 0, 0, 0,
                          tile_.height, tile_.pixels.data(), &bi, DIB_RGB_COLORS);
  }
  SetBkMode(dc, TRANSPARENT);
  for (const Label& l : labels_) {
    Selected font(dc, l.font);
    const UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | (l.centred ? DT_CENTER : DT_LEFT);
    RECT shadow = l.bounds;
    OffsetRect(&shadow, l.dx, l.dy);
    SetTextColor(dc, l.shadow);
    DrawTextA(dc, l.text.c_str(), -1, &shadow, format);
    RECT face = l.bounds;
    SetTextColor(dc, l.hover.colour);
    DrawTextA(dc, l.text.c_str(), -1, &face, format);
  }
}

int TVTAbout::LinkAt(POINT p) const {
  for (int link : {kVisit, kMail})
    if (PtInRect(&labels_[link].bounds, p)) return link;
  return -1;
}

void TVTAbout::SetHovered(int link) {
  if (link == hovered_) return;
  // The old line gets its colour back before the new one turns blue.
  if (hovered_ >= 0) {
    labels_[hovered_].hover.Leave();
    InvalidateRect(Handle(), &labels_[hovered_].bounds, FALSE);
  }
  hovered_ = link;
  if (hovered_ >= 0) {
    labels_[hovered_].hover.Enter();
    InvalidateRect(Handle(), &labels_[hovered_].bounds, FALSE);
  }
}

void TVTAbout::MouseMoved(POINT p) {
  TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, Handle(), 0};
  TrackMouseEvent(&t);
  SetHovered(LinkAt(p));
}

LRESULT TVTAbout::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      // Drawn off screen first: the tiles and the labels over them would flicker.
      RECT c;
      GetClientRect(Handle(), &c);
      UniqueMemoryDc mem(CreateCompatibleDC(dc));
      UniqueBitmap canvas(CreateCompatibleBitmap(dc, c.right, c.bottom));
      if (mem && canvas) {
        Selected picture(mem.get(), canvas.get());
        pbPaint(mem.get());
        BitBlt(dc, 0, 0, c.right, c.bottom, mem.get(), 0, 0, SRCCOPY);
      }
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_MOUSEMOVE:
      MouseMoved(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_MOUSELEAVE:
      SetHovered(-1);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(Handle(), &p);
        if (LinkAt(p) >= 0) {
          SetCursor(LoadCursor(nullptr, IDC_HAND));
          return TRUE;
        }
      }
      break;
    case WM_LBUTTONUP: {
      const int link = LinkAt(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      if (link == kVisit && env_.openWebSite) env_.openWebSite();
      if (link == kMail && env_.openSupportMail) env_.openSupportMail();
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wp) != IDCANCEL) return 0;  // Esc closes it like the close button
      [[fallthrough]];
    case WM_CLOSE:
      SetHovered(-1);
      ShowWindow(Handle(), SW_HIDE);
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace vt
