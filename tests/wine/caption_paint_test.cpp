// The caption bar as the panel paints it, rendered into a bitmap through the real GDI and
// checked pixel by pixel: gradient, letters, glyphs and the pressed and inactive looks.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "panel/CaptionArt.h"
#include "panel/CaptionPaint.h"
#include "panel/Geometry.h"

namespace {

struct Rendered {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Draws the bar of a window `windowWidth` wide and reads every pixel back.
Rendered Render(int windowWidth, const vt::CaptionLook& look) {
  Rendered out;
  out.width = windowWidth - 2 * GetSystemMetrics(SM_CXFRAME);
  out.height = GetSystemMetrics(SM_CYCAPTION);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = out.width;
  bi.bmiHeader.biHeight = -out.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  vt::DrawCaptionBar(dc, windowWidth, look);
  GdiFlush();
  const auto* p = static_cast<const DWORD*>(bits);
  for (int i = 0; i < out.width * out.height; ++i) out.pixels.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return out;
}

vt::Rect ButtonFaceInBar(int button, int windowWidth) {
  return vt::ButtonFace(vt::CaptionButtonRect(button, true, windowWidth, vt::SystemCaptionButtonMetrics()));
}

int CountIn(const Rendered& r, int x0, int x1, bool (*pred)(COLORREF)) {
  int n = 0;
  for (int y = 0; y < r.height; ++y)
    for (int x = x0; x < x1 && x < r.width; ++x)
      if (pred(r.At(x, y))) ++n;
  return n;
}

bool IsWhite(COLORREF c) { return GetRValue(c) > 240 && GetGValue(c) > 240 && GetBValue(c) > 240; }
bool IsLetterGreen(COLORREF c) { return GetGValue(c) >= 100 && GetRValue(c) < 40 && GetBValue(c) < 90; }

constexpr int kWindowWidth = 640;

TEST(CaptionPaint, ActiveGradientRunsFromDarkEdgeToBlueCentre) {
  vt::CaptionLook look;
  look.title = "";
  const Rendered r = Render(kWindowWidth, look);
  const COLORREF centre = r.At(r.width / 2, r.height / 2);
  EXPECT_LE(GetRValue(centre), 6);
  EXPECT_GE(GetBValue(centre), 235);
  const COLORREF edge = r.At(0, 0);
  EXPECT_GT(GetRValue(edge), 20);  // far from the centre: still close to 50, 50, 50
  EXPECT_LT(GetBValue(edge), 160);
  EXPECT_EQ(GetRValue(edge), GetGValue(edge));  // the gradient moves red and green together
}

TEST(CaptionPaint, InactiveLookIsGreyBlueWithLighterButtons) {
  vt::CaptionLook look;
  look.active = false;
  const Rendered r = Render(kWindowWidth, look);
  const COLORREF centre = r.At(r.width / 2, r.height / 2);
  EXPECT_GE(GetRValue(centre), 190);
  EXPECT_GE(GetBValue(centre), 240);
  const vt::Rect face = ButtonFaceInBar(2, kWindowWidth);
  EXPECT_EQ(r.At(face.left + 1, face.top + 1), RGB(232, 232, 192));  // silver plus 40 on red and green
}

TEST(CaptionPaint, LettersOfTheProductNameStandInGreen) {
  vt::CaptionLook look;  // no title over the letters
  const Rendered r = Render(kWindowWidth, look);
  const int w = r.width;
  for (int k = 2; k <= 7; ++k) {
    const int x = vt::LetterX(w, 7, k);
    EXPECT_GT(CountIn(r, x, x + 10, IsLetterGreen), 3) << "letter " << k;
  }
  // Between two letters there is only gradient.
  EXPECT_EQ(CountIn(r, vt::LetterX(w, 7, 3) + 12, vt::LetterX(w, 7, 4) - 2, IsLetterGreen), 0);
}

TEST(CaptionPaint, ButtonsShowTheirGlyphsAndTurnOverWhenPressed) {
  vt::CaptionLook look;
  Rendered r = Render(kWindowWidth, look);
  const vt::Rect close = ButtonFaceInBar(2, kWindowWidth), max = ButtonFaceInBar(1, kWindowWidth);
  EXPECT_EQ(r.At(close.left + 1, close.top + 1), RGB(192, 192, 192));  // normal: silver on top
  EXPECT_GT(CountIn(r, close.left, close.right, IsWhite), 6);           // the X
  EXPECT_GT(CountIn(r, max.left, max.right, IsWhite), 6);               // the window outline

  look.hoverButton = look.pressedButton = 2;
  r = Render(kWindowWidth, look);
  EXPECT_EQ(r.At(close.left + 1, close.top + 1), RGB(0, 0, 255));        // pressed: blue on top
  EXPECT_EQ(r.At(max.left + 1, max.top + 1), RGB(192, 192, 192));        // the other stays as it was

  look.pressedButton = 1;  // pressed on one button, the cursor over the other: nothing pressed
  r = Render(kWindowWidth, look);
  EXPECT_EQ(r.At(close.left + 1, close.top + 1), RGB(192, 192, 192));
}

TEST(CaptionPaint, MaximizedPanelShowsTheRestoreGlyph) {
  vt::CaptionLook look;
  const vt::Rect max = ButtonFaceInBar(1, kWindowWidth);
  const Rendered normal = Render(kWindowWidth, look);
  look.maximized = true;
  const Rendered restored = Render(kWindowWidth, look);
  int differ = 0;
  for (int y = 0; y < normal.height; ++y)
    for (int x = max.left; x < max.right; ++x)
      if (normal.At(x, y) != restored.At(x, y)) ++differ;
  EXPECT_GT(differ, 4);
}

TEST(CaptionPaint, LongTitleIsCutWithDotsBeforeTheButtons) {
  vt::CaptionLook look;
  look.title = std::string(300, 'W');
  const Rendered r = Render(kWindowWidth, look);
  const vt::Rect max = ButtonFaceInBar(1, kWindowWidth);
  // The title's light green never reaches into the 16 pixels before the maximize button.
  auto titleGreen = [](COLORREF c) { return GetRValue(c) > 180 && GetGValue(c) > 220 && GetBValue(c) > 180 && GetBValue(c) < 240; };
  int inGap = 0;
  for (int y = 0; y < r.height; ++y)
    for (int x = max.left - 14; x < max.left; ++x)
      if (titleGreen(r.At(x, y))) ++inGap;
  EXPECT_EQ(inGap, 0);
}

}  // namespace
