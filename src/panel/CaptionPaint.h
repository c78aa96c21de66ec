// Paints the panel's own caption bar over the standard one: composed in a bitmap, copied to
// the window in one BitBlt so that nothing flickers.
#pragma once
#include <windows.h>

#include <string>

#include "panel/Geometry.h"

namespace vt {

// The system's caption button sizes and real frame metrics, for painting and hit testing.
CaptionButtonMetrics SystemCaptionButtonMetrics();

struct CaptionLook {
  bool active = true;
  bool maximized = false;
  int hoverButton = 0, pressedButton = 0;
  std::string title;
};

// Draws the bar for a window of this width into dc at its origin; the size of the bar is
// width - 2 fx by cy.
void DrawCaptionBar(HDC dc, int windowWidth, const CaptionLook& look);
// The whole sequence on the window's own device context.
void PaintCaption(HWND window, const CaptionLook& look);

// Menu bar items drawn the way the panel shows them.
void MeasureMenuBarItem(HWND window, MEASUREITEMSTRUCT& mis, const char* caption);
void DrawMenuBarItem(const DRAWITEMSTRUCT& dis, const char* caption);

}  // namespace vt
