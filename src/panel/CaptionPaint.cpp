#include "panel/CaptionPaint.h"

#include "panel/CaptionArt.h"
#include "panel/Geometry.h"

namespace vt {

namespace {

COLORREF Ref(Rgb c) { return RGB(c.r, c.g, c.b); }

HFONT CaptionFont(HDC dc, bool bold) {
  const int height = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
  return CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

int TextHeightOf(HDC dc) {
  SIZE s{};
  GetTextExtentPoint32A(dc, "ABC", 3, &s);
  return s.cy;
}

CaptionButtonMetrics RealButtonMetrics() {
  CaptionButtonMetrics m;
  m.buttonWidth = GetSystemMetrics(SM_CXSIZE);
  m.buttonHeight = GetSystemMetrics(SM_CYSIZE);
  m.border = GetSystemMetrics(SM_CXBORDER);
  m.frame = FrameMetrics{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CYCAPTION)};
  return m;
}

void DrawMaximize(HDC dc, const MaximizeGlyph& g) {
  HPEN pen = CreatePen(PS_SOLID, g.pen, RGB(255, 255, 255));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, g.outline.left, g.outline.top, g.outline.right, g.outline.bottom);
  MoveToEx(dc, g.edgeFrom.x, g.edgeFrom.y, nullptr);
  LineTo(dc, g.edgeTo.x, g.edgeTo.y);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void DrawRestore(HDC dc, const RestoreGlyph& g) {
  DrawMaximize(dc, g.back);
  HPEN pen = CreatePen(PS_SOLID, g.back.pen, RGB(255, 255, 255));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  RECT edge{g.frontEdge.left, g.frontEdge.top, g.frontEdge.right, g.frontEdge.bottom};
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(dc, &edge, white);
  DeleteObject(white);
  MoveToEx(dc, g.lineFrom.x, g.lineFrom.y, nullptr);
  LineTo(dc, g.lineCorner.x, g.lineCorner.y);
  LineTo(dc, g.lineTo.x, g.lineTo.y);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void DrawClose(HDC dc, const CloseGlyph& g) {
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
  HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
  for (const auto& poly : {g.falling, g.rising}) {
    POINT pts[4];
    for (int i = 0; i < 4; ++i) pts[i] = POINT{poly[i].x, poly[i].y};
    Polygon(dc, pts, 4);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void DrawButtons(HDC dc, int windowWidth, const CaptionLook& look) {
  const CaptionButtonMetrics m = RealButtonMetrics();
  for (int i = 1; i <= 2; ++i) {
    const Rect face = ButtonFace(CaptionButtonRect(i, true, windowWidth, m));
    const bool pressed = look.hoverButton == i && look.pressedButton == i;
    const int lines = ButtonLineCount(face);
    for (int k = 0; k < lines; ++k) {
      HPEN pen = CreatePen(PS_SOLID, 1, Ref(ButtonLineColour(face, k, pressed, look.active)));
      HGDIOBJ old = SelectObject(dc, pen);
      MoveToEx(dc, face.left + 1, face.top + 1 + k, nullptr);
      LineTo(dc, face.right - 1, face.top + 1 + k);
      SelectObject(dc, old);
      DeleteObject(pen);
    }
    if (i == 1 && !look.maximized) DrawMaximize(dc, MaximizeGlyphOf(face));
    else if (i == 1) DrawRestore(dc, RestoreGlyphOf(face));
    else DrawClose(dc, CloseGlyphOf(face));
  }
}

}  // namespace

void DrawCaptionBar(HDC dc, int windowWidth, const CaptionLook& look) {
  const int fx = GetSystemMetrics(SM_CXFRAME);
  const int w = windowWidth - 2 * fx, h = GetSystemMetrics(SM_CYCAPTION);
  if (w <= 0 || h <= 0) return;

  const Rgb c0 = GradientOuter(look.active), c1 = GradientCentre(look.active);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  for (int i = 0; i <= kGradientSteps; ++i) {
    HBRUSH brush = CreateSolidBrush(Ref(GradientColour(c0, c1, i)));
    HGDIOBJ old = SelectObject(dc, brush);
    const Rect e = GradientEllipse(w, h, i);
    Ellipse(dc, e.left, e.top, e.right, e.bottom);
    SelectObject(dc, old);
    DeleteObject(brush);
  }
  SelectObject(dc, oldPen);

  SetBkMode(dc, TRANSPARENT);
  HFONT regular = CaptionFont(dc, false), bold = CaptionFont(dc, true);
  HGDIOBJ oldFont = SelectObject(dc, regular);
  SetTextColor(dc, Ref(kLetterColour));
  const int n = static_cast<int>(sizeof(kCaptionLetters) - 1);
  const int letterY = TextY(h, TextHeightOf(dc));
  for (int k = 1; k <= n; ++k) TextOutA(dc, LetterX(w, n, k), letterY, &kCaptionLetters[k - 1], 1);

  SelectObject(dc, bold);
  SetTextColor(dc, Ref(kTitleColour));
  const Rect maxButton = CaptionButtonRect(1, true, windowWidth, RealButtonMetrics());
  auto width = [dc](const std::string& t) {
    SIZE s{};
    GetTextExtentPoint32A(dc, t.c_str(), static_cast<int>(t.size()), &s);
    return static_cast<std::int32_t>(s.cx);
  };
  const std::string title = FitTitle(look.title, h, maxButton.left, width);
  TextOutA(dc, TitleX(h), TextY(h, TextHeightOf(dc)), title.c_str(), static_cast<int>(title.size()));
  SelectObject(dc, oldFont);
  DeleteObject(regular);
  DeleteObject(bold);

  DrawButtons(dc, windowWidth, look);
}

void PaintCaption(HWND window, const CaptionLook& look) {
  RECT wr;
  if (!GetWindowRect(window, &wr)) return;
  const int windowWidth = wr.right - wr.left;
  const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
  const int w = windowWidth - 2 * fx, h = GetSystemMetrics(SM_CYCAPTION);
  if (w <= 0 || h <= 0) return;
  HDC wdc = GetWindowDC(window);
  if (!wdc) return;
  HDC mem = CreateCompatibleDC(wdc);
  HBITMAP bmp = CreateCompatibleBitmap(wdc, w, h);
  if (mem && bmp) {
    HGDIOBJ old = SelectObject(mem, bmp);
    DrawCaptionBar(mem, windowWidth, look);
    BitBlt(wdc, fx, fy, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
  }
  if (bmp) DeleteObject(bmp);
  if (mem) DeleteDC(mem);
  ReleaseDC(window, wdc);
}

void MeasureMenuBarItem(HWND window, MEASUREITEMSTRUCT& mis, const char* caption) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE s{};
  GetTextExtentPoint32A(dc, caption, lstrlenA(caption), &s);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  mis.itemWidth = s.cx;
  mis.itemHeight = s.cy;
}

void DrawMenuBarItem(const DRAWITEMSTRUCT& dis, const char* caption) {
  HDC dc = dis.hDC;
  const bool lit = (dis.itemState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
  RECT r = dis.rcItem;
  FillRect(dc, &r, GetSysColorBrush(lit ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, lit ? RGB(255, 255, 255) : GetSysColor(COLOR_MENUTEXT));
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE s{};
  GetTextExtentPoint32A(dc, caption, lstrlenA(caption), &s);
  const int x = r.left + (r.right - r.left - s.cx) / 2;
  const int y = r.top - 1 + (r.bottom - r.top - s.cy) / 2;
  ExtTextOutA(dc, x, y, ETO_CLIPPED, &r, caption, lstrlenA(caption), nullptr);
  SelectObject(dc, old);
  if (dis.itemState & ODS_SELECTED) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
}

}  // namespace vt
