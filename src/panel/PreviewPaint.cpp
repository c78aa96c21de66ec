#include "panel/PreviewPaint.h"

#include <vector>

namespace vt {

void DrawPicture(HDC dc, const Rect& dest, const PixelImage& image, COLORREF background) {
  if (image.Empty() || dest.IsEmpty()) return;
  const std::uint32_t back =
      std::uint32_t{GetRValue(background)} << 16 | std::uint32_t{GetGValue(background)} << 8 | GetBValue(background);
  std::vector<std::uint32_t> flat(image.pixels);
  for (std::uint32_t& p : flat)
    if ((p >> 24) == 0) p = back;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = image.width;
  bi.bmiHeader.biHeight = -image.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  // Nearest pixels: GIFs are drawn sharp, and still pictures arrive at their final size.
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, dest.left, dest.top, static_cast<int>(dest.Width()), static_cast<int>(dest.Height()), 0, 0,
                image.width, image.height, flat.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

}  // namespace vt
