#include "kit/PixelImage.h"

namespace vt {

bool PixelImage::Allocate(std::int32_t w, std::int32_t h, std::uint64_t maxPixels, std::uint32_t fill) {
  width = height = 0;
  pixels.clear();
  if (w <= 0 || h <= 0) return false;
  const std::uint64_t n = std::uint64_t(w) * std::uint64_t(h);
  if (n > maxPixels) return false;
  pixels.assign(static_cast<std::size_t>(n), fill);
  width = w;
  height = h;
  return true;
}

PixelImage ScalePicture(const PixelImage& src, std::int32_t w, std::int32_t h) {
  PixelImage out;
  if (src.Empty() || !out.Allocate(w, h, std::uint64_t(w) * std::uint64_t(h) + 1)) return out;
  const std::int64_t sw = src.width, sh = src.height;
  for (std::int32_t y = 0; y < h; ++y) {
    std::int64_t y0 = y * sh / h, y1 = (y + 1) * sh / h;
    if (y1 <= y0) y1 = y0 + 1;
    for (std::int32_t x = 0; x < w; ++x) {
      std::int64_t x0 = x * sw / w, x1 = (x + 1) * sw / w;
      if (x1 <= x0) x1 = x0 + 1;
      std::uint64_t sum[4] = {0, 0, 0, 0};
      for (std::int64_t sy = y0; sy < y1; ++sy) {
        const std::uint32_t* row = &src.pixels[static_cast<std::size_t>(sy * sw)];
        for (std::int64_t sx = x0; sx < x1; ++sx) {
          const std::uint32_t p = row[sx];
          sum[0] += p & 0xFF;
          sum[1] += (p >> 8) & 0xFF;
          sum[2] += (p >> 16) & 0xFF;
          sum[3] += p >> 24;
        }
      }
      const std::uint64_t n = static_cast<std::uint64_t>((y1 - y0) * (x1 - x0));
      out.pixels[static_cast<std::size_t>(y) * w + x] =
          static_cast<std::uint32_t>((sum[3] / n) << 24 | (sum[2] / n) << 16 | (sum[1] / n) << 8 | sum[0] / n);
    }
  }
  return out;
}

}  // namespace vt
