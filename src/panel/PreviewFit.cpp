#include "panel/PreviewFit.h"

#include <cstdint>

namespace vt {

Rect FitGifPreview(Size image, Size area) {
  if (image.width <= 0 || image.height <= 0 || area.width <= 0 || area.height <= 0) return Rect{};
  std::int64_t w = image.width, h = image.height;
  const std::int64_t W = area.width, H = area.height;
  if (w > W) {
    h = W * h / w;
    w = W;
  }
  if (h > H) {
    w = H * w / h;
    h = H;
  }
  // A 10000 x 1 strip would truncate to nothing and vanish from the pane.
  if (w < 1) w = 1;
  if (h < 1) h = 1;
  const std::int32_t left = static_cast<std::int32_t>((W - w) / 2);
  const std::int32_t top = static_cast<std::int32_t>((H - h) / 2);
  return Rect{left, top, left + static_cast<std::int32_t>(w), top + static_cast<std::int32_t>(h)};
}

Rect FitStillPicture(Size image, Size area) { return FitGifPreview(image, area); }

int ChooseJpegScale(Size image, Size area) {
  const Rect shown = FitStillPicture(image, area);
  if (shown.IsEmpty()) return 8;
  for (int n = 1; n < 8; ++n) {
    const std::int64_t w = (std::int64_t{image.width} * n + 7) / 8;
    const std::int64_t h = (std::int64_t{image.height} * n + 7) / 8;
    if (w >= shown.Width() && h >= shown.Height()) return n;
  }
  return 8;
}

}  // namespace vt
