#include "panel/CaptionPaint.h"

#include <map>

#include "panel/CaptionArt.h"
#include "panel/Geometry.h"
#include "util/Handles.h"

namespace vt {

namespace {

COLORREF Ref(Rgb c) { return RGB(c.r, c.g, c.b); }

// The bar is repainted on every activation, hover and move: its fonts, brushes and pens are
// made once per process and kept. The colours come from a fixed palette (two gradients and
// the buttons' lines), so the cache stays small.
class CaptionGdi {
 public:
  HFONT Font(HDC dc, bool bold) {
    UniqueFont& font = bold ? bold_ : regular_;
    if (!font) {
      const int height = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
      font.reset(CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
    }
    return font.get();
  }
  HBRUSH Brush(COLORREF c) {
    UniqueBrush& b = brushes_[c];
    if (!b) b.reset(CreateSolidBrush(c));
    return b.get();
  }
  HPEN Pen(COLORREF c, int width = 1) {
    UniquePen& p = pens_[{c, width}];
    if (!p) p.reset(CreatePen(PS_SOLID, width, c));
    return p.get();
  }

 private:
  UniqueFont regular_, bold_;
  std::map<COLORREF, UniqueBrush> brushes_;
  std::map<std::pair<COLORREF, int>, UniquePen> pens_;
};

CaptionGdi& Gdi() {
  static CaptionGdi gdi;
  return gdi;
}

constexpr COLORREF kWhite = RGB(255, 255, 255);

int TextHeightOf(HDC dc) {
  SIZE s{};
  GetTextExtentPoint32A(dc, "ABC", 3, &s);
  return s.cy;
}

void DrawMaximize(HDC dc, const MaximizeGlyph& g) {
  Selected pen(dc, Gdi().Pen(kWhite, g.pen));
  Selected brush(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, g.outline.left, g.outline.top, g.outline.right, g.outline.bottom);
  MoveToEx(dc, g.edgeFrom.x, g.edgeFrom.y, nullptr);
  LineTo(dc, g.edgeTo.x, g.edgeTo.y);
}

void DrawRestore(HDC dc, const RestoreGlyph& g) {
  DrawMaximize(dc, g.back);
  Selected pen(dc, Gdi().Pen(kWhite, g.back.pen));
  RECT edge{g.frontEdge.left, g.frontEdge.top, g.frontEdge.right, g.frontEdge.bottom};
  FillRect(dc, &edge, Gdi().Brush(kWhite));
  MoveToEx(dc, g.lineFrom.x, g.lineFrom.y, nullptr);
  LineTo(dc, g.lineCorner.x, g.lineCorner.y);
  LineTo(dc, g.lineTo.x, g.lineTo.y);
}

void DrawClose(HDC dc, const CloseGlyph& g) {
  Selected pen(dc, Gdi().Pen(kWhite));
  Selected brush(dc, Gdi().Brush(kWhite));
  for (const auto& poly : {g.falling, g.rising}) {
    POINT pts[4];
    for (int i = 0; i < 4; ++i) pts[i] = POINT{poly[i].x, poly[i].y};
    Polygon(dc, pts, 4);
  }
}

void DrawButtons(HDC dc, int windowWidth, const CaptionLook& look) {
  const CaptionButtonMetrics m = SystemCaptionButtonMetrics();
  for (int i = 1; i <= 2; ++i) {
    const Rect face = ButtonFace(CaptionButtonRect(i, true, windowWidth, m));
    const bool pressed = look.hoverButton == i && look.pressedButton == i;
    const int lines = ButtonLineCount(face);
    for (int k = 0; k < lines; ++k) {
      Selected pen(dc, Gdi().Pen(Ref(ButtonLineColour(face, k, pressed, look.active))));
      MoveToEx(dc, face.left + 1, face.top + 1 + k, nullptr);
      LineTo(dc, face.right - 1, face.top + 1 + k);
    }
    if (i == 1 && !look.maximized) DrawMaximize(dc, MaximizeGlyphOf(face));
    else if (i == 1) DrawRestore(dc, RestoreGlyphOf(face));
    else DrawClose(dc, CloseGlyphOf(face));
  }
}

}  // namespace

CaptionButtonMetrics SystemCaptionButtonMetrics() {
  CaptionButtonMetrics m;
  m.buttonWidth = GetSystemMetrics(SM_CXSIZE);
  m.buttonHeight = GetSystemMetrics(SM_CYSIZE);
  m.border = GetSystemMetrics(SM_CXBORDER);
  m.frame = FrameMetrics{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CYCAPTION)};
  return m;
}

void DrawCaptionBar(HDC dc, int windowWidth, const CaptionLook& look) {
  const int fx = GetSystemMetrics(SM_CXFRAME);
  const int w = windowWidth - 2 * fx, h = GetSystemMetrics(SM_CYCAPTION);
  if (w <= 0 || h <= 0) return;

  const Rgb c0 = GradientOuter(look.active), c1 = GradientCentre(look.active);
  {
    Selected noPen(dc, GetStockObject(NULL_PEN));
    for (int i = 0; i <= kGradientSteps; ++i) {
      Selected brush(dc, Gdi().Brush(Ref(GradientColour(c0, c1, i))));
      const Rect e = GradientEllipse(w, h, i);
      Ellipse(dc, e.left, e.top, e.right, e.bottom);
    }
  }

  SetBkMode(dc, TRANSPARENT);
  Selected font(dc, Gdi().Font(dc, false));
  SetTextColor(dc, Ref(kLetterColour));
  const int n = static_cast<int>(sizeof(kCaptionLetters) - 1);
  const int letterY = TextY(h, TextHeightOf(dc));
  for (int k = 1; k <= n; ++k) TextOutA(dc, LetterX(w, n, k), letterY, &kCaptionLetters[k - 1], 1);

  Selected bold(dc, Gdi().Font(dc, true));  // over the letters' font, which comes back first
  SetTextColor(dc, Ref(kTitleColour));
  const Rect maxButton = CaptionButtonRect(1, true, windowWidth, SystemCaptionButtonMetrics());
  auto width = [dc](const std::string& t) {
    SIZE s{};
    GetTextExtentPoint32A(dc, t.c_str(), static_cast<int>(t.size()), &s);
    return static_cast<std::int32_t>(s.cx);
  };
  const std::string title = FitTitle(look.title, h, maxButton.left, width);
  TextOutA(dc, TitleX(h), TextY(h, TextHeightOf(dc)), title.c_str(), static_cast<int>(title.size()));

  DrawButtons(dc, windowWidth, look);
}

void PaintCaption(HWND window, const CaptionLook& look) {
  RECT wr;
  if (!GetWindowRect(window, &wr)) return;
  const int windowWidth = wr.right - wr.left;
  const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
  const int w = windowWidth - 2 * fx, h = GetSystemMetrics(SM_CYCAPTION);
  if (w <= 0 || h <= 0) return;
  WindowDc wdc(window, true);
  if (!wdc) return;
  UniqueMemoryDc mem(CreateCompatibleDC(wdc.get()));
  UniqueBitmap bmp(CreateCompatibleBitmap(wdc.get(), w, h));
  if (!mem || !bmp) return;
  Selected into(mem.get(), bmp.get());
  DrawCaptionBar(mem.get(), windowWidth, look);
  BitBlt(wdc.get(), fx, fy, w, h, mem.get(), 0, 0, SRCCOPY);
}

void MeasureMenuBarItem(HWND window, MEASUREITEMSTRUCT& mis, const char* caption) {
  WindowDc dc(window);
  SIZE s{};
  {
    Selected font(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32A(dc.get(), caption, lstrlenA(caption), &s);
  }
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
  {
    Selected font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE s{};
    GetTextExtentPoint32A(dc, caption, lstrlenA(caption), &s);
    const int x = r.left + (r.right - r.left - s.cx) / 2;
    const int y = r.top - 1 + (r.bottom - r.top - s.cy) / 2;
    ExtTextOutA(dc, x, y, ETO_CLIPPED, &r, caption, lstrlenA(caption), nullptr);
  }
  if (dis.itemState & ODS_SELECTED) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
}

}  // namespace vt
