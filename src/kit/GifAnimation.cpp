#include "kit/GifAnimation.h"

#include <algorithm>

namespace vt {

GifDisposal DisposalFromField(int field) {
  if (field == 2) return GifDisposal::Background;
  if (field == 3) return GifDisposal::Previous;
  return GifDisposal::Keep;
}

std::uint32_t DelayFromField(int hundredths) {
  if (hundredths <= 1) return kZeroDelayMs;
  return static_cast<std::uint32_t>(hundredths) * 10;
}

bool GifBuilder::Begin(std::int32_t width, std::int32_t height) {
  image_ = GifImage{};
  bytes_ = 0;
  if (width <= 0 || height <= 0 || std::uint64_t(width) * std::uint64_t(height) > kMaxCanvasPixels) return false;
  image_.width = width;
  image_.height = height;
  return true;
}

GifFrame* GifBuilder::AddFrame(std::int32_t left, std::int32_t top, std::int32_t w, std::int32_t h) {
  if (image_.width <= 0 || w <= 0 || h <= 0 || image_.frames.size() >= kMaxFrames) return nullptr;
  const std::uint64_t n = std::uint64_t(w) * std::uint64_t(h);
  if (n > kMaxFrameBytes - bytes_) return nullptr;
  bytes_ += n;
  GifFrame& f = image_.frames.emplace_back();
  f.left = left;
  f.top = top;
  f.width = w;
  f.height = h;
  f.indices.assign(static_cast<std::size_t>(n), 0);
  return &f;
}

void GifBuilder::DropLast() {
  if (image_.frames.empty()) return;
  bytes_ -= image_.frames.back().indices.size();
  image_.frames.pop_back();
}

GifImage GifBuilder::Take() {
  bytes_ = 0;
  return std::move(image_);
}

GifCompositor::GifCompositor(const GifImage& image) : image_(image) { Reset(); }

void GifCompositor::Reset() {
  index_ = -1;
  passes_ = 0;
  ended_ = image_.Empty();
  // The builder capped the canvas; a hand-made image over the cap simply plays nothing.
  if (!ended_ && !canvas_.Allocate(image_.width, image_.height, kMaxCanvasPixels)) ended_ = true;
  if (!ended_) std::fill(canvas_.pixels.begin(), canvas_.pixels.end(), 0u);
}

GifCompositor::Clip GifCompositor::ClipOf(const GifFrame& f) const {
  const std::int64_t x0 = std::max<std::int64_t>(0, f.left), y0 = std::max<std::int64_t>(0, f.top);
  const std::int64_t x1 = std::min<std::int64_t>(canvas_.width, std::int64_t{f.left} + f.width);
  const std::int64_t y1 = std::min<std::int64_t>(canvas_.height, std::int64_t{f.top} + f.height);
  if (x1 <= x0 || y1 <= y0) return Clip{0, 0, 0, 0};
  return Clip{static_cast<std::int32_t>(x0), static_cast<std::int32_t>(y0), static_cast<std::int32_t>(x1),
              static_cast<std::int32_t>(y1)};
}

void GifCompositor::Draw(const GifFrame& f) {
  const Clip c = ClipOf(f);
  const std::int32_t cw = c.x1 - c.x0;
  if (f.disposal == GifDisposal::Previous) {
    saved_.clear();
    for (std::int32_t y = c.y0; y < c.y1; ++y) {
      const auto row = canvas_.pixels.begin() + std::ptrdiff_t(y) * canvas_.width;
      saved_.insert(saved_.end(), row + c.x0, row + c.x1);
    }
  }
  // Indices past the table are drawn black, as a table padded to 256 entries would.
  const std::vector<std::uint32_t>& table = f.palette.empty() ? image_.palette : f.palette;
  std::uint32_t colours[256];
  for (std::size_t i = 0; i < 256; ++i) colours[i] = i < table.size() ? table[i] : 0xFF000000u;
  const std::int32_t rows = std::min(f.rows, f.height);
  if (f.indices.size() < std::size_t(f.width) * std::size_t(f.height)) return;
  for (std::int32_t y = c.y0; y < c.y1; ++y) {
    const std::int32_t r = y - f.top;
    if (r >= rows) break;
    const std::uint8_t* src = &f.indices[std::size_t(r) * f.width + (c.x0 - f.left)];
    std::uint32_t* dst = &canvas_.pixels[std::size_t(y) * canvas_.width + c.x0];
    for (std::int32_t x = 0; x < cw; ++x) {
      if (src[x] != f.transparent) dst[x] = colours[src[x]];
    }
  }
}

void GifCompositor::Dispose(const GifFrame& f) {
  const Clip c = ClipOf(f);
  if (f.disposal == GifDisposal::Background) {
    // The pane is not transparent: cleared pixels show the pane's own background, which is
    // what a viewer shows for a GIF's background colour.
    for (std::int32_t y = c.y0; y < c.y1; ++y)
      std::fill_n(&canvas_.pixels[std::size_t(y) * canvas_.width + c.x0], c.x1 - c.x0, 0u);
  } else if (f.disposal == GifDisposal::Previous) {
    const std::int32_t cw = c.x1 - c.x0;
    if (saved_.size() != std::size_t(cw) * std::size_t(c.y1 - c.y0)) return;
    for (std::int32_t y = c.y0; y < c.y1; ++y)
      std::copy_n(&saved_[std::size_t(y - c.y0) * cw], cw, &canvas_.pixels[std::size_t(y) * canvas_.width + c.x0]);
  }
}

std::uint32_t GifCompositor::Advance() {
  if (ended_) return 0;
  int next = index_ + 1;
  if (next >= static_cast<int>(image_.frames.size())) {
    ++passes_;
    const bool again = image_.loopCount == 0 || (image_.loopCount > 0 && passes_ <= image_.loopCount);
    // A single frame is a still picture: nothing to replay.
    if (!again || image_.frames.size() < 2) {
      ended_ = true;
      return 0;
    }
    std::fill(canvas_.pixels.begin(), canvas_.pixels.end(), 0u);
    next = 0;
  } else if (index_ >= 0) {
    Dispose(image_.frames[static_cast<std::size_t>(index_)]);
  }
  index_ = next;
  const GifFrame& f = image_.frames[static_cast<std::size_t>(next)];
  Draw(f);
  return f.delayMs ? f.delayMs : kZeroDelayMs;
}

}  // namespace vt
