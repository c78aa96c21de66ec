// An owned 32-bit picture in the layout of a top-down Windows DIB: one 0xAARRGGBB value per
// pixel, rows from the top. Alpha 0 marks a pixel the picture does not cover (GIF
// transparency); decoders of opaque pictures set 0xFF.
#pragma once
#include <cstdint>
#include <vector>

namespace vt {

struct PixelImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t> pixels;  // width x height

  bool Empty() const { return width <= 0 || height <= 0 || pixels.empty(); }
  // False (and the image left empty) when width x height exceeds maxPixels or is not positive.
  bool Allocate(std::int32_t w, std::int32_t h, std::uint64_t maxPixels, std::uint32_t fill = 0);
};

// Shrinks src to w x h (each at most the source's side) by averaging the source pixels each
// target pixel covers, which keeps fine detail from aliasing the way point sampling would.
// A target larger than the source is point-sampled instead.
PixelImage ScalePicture(const PixelImage& src, std::int32_t w, std::int32_t h);

}  // namespace vt
