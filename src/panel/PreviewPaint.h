// Draws a preview picture or GIF frame onto the pane. Pixels the picture does not cover
// (GIF transparency, alpha 0) show the pane's background colour.
#pragma once
#include <windows.h>

#include "kit/PixelImage.h"
#include "kit/Rect.h"

namespace vt {

// Stretches image to dest (GIF frames are drawn at the view's size); a still picture that
// already has dest's size is copied pixel for pixel.
void DrawPicture(HDC dc, const Rect& dest, const PixelImage& image, COLORREF background);

}  // namespace vt
