// A decoded GIF as frames of palette indices, and the compositor that plays them: it lays
// each frame over the canvas, honours transparency, undoes the previous frame by its disposal
// method (keep, restore to background, restore to previous), times frames and loops.
//
// The decoder fills a GifImage through GifBuilder, which enforces the memory caps below, so
// a hostile file (65535 x 65535 declared, thousands of frames) costs at most:
//   canvas:  kMaxCanvasPixels x 4 bytes, twice (the canvas and the saved area of a
//            restore-to-previous frame) = 64 MiB
//   frames:  kMaxFrameBytes of indices in all, at most kMaxFrames frames
// A frame that would pass a cap ends the decoding; what was decoded before it still plays.
#pragma once
#include <cstdint>
#include <vector>

#include "kit/PixelImage.h"

namespace vt {

constexpr std::uint64_t kMaxCanvasPixels = 8u << 20;  // 8 Mi pixels, e.g. 4096 x 2048
constexpr std::uint64_t kMaxFrameBytes = 64u << 20;    // palette indices of all frames
constexpr std::size_t kMaxFrames = 4096;
// Browsers show frames that ask for 0 or 10 ms for 100 ms; so do we, so that a zero delay
// never spins the panel's timer.
constexpr std::uint32_t kZeroDelayMs = 100;

enum class GifDisposal : std::uint8_t { Keep = 0, Background = 2, Previous = 3 };

struct GifFrame {
  std::int32_t left = 0, top = 0, width = 0, height = 0;  // in canvas pixels; may reach outside
  std::vector<std::uint8_t> indices;                      // width x height, rows from the top
  std::int32_t rows = 0;                                  // rows decoded; a cut frame draws only these
  std::vector<std::uint32_t> palette;                     // local table, or empty for the global one
  std::int32_t transparent = -1;                          // palette index that leaves the canvas as it is
  GifDisposal disposal = GifDisposal::Keep;
  std::uint32_t delayMs = kZeroDelayMs;
};

struct GifImage {
  std::int32_t width = 0, height = 0;
  std::vector<std::uint32_t> palette;  // the global table as 0xFFRRGGBB
  std::int32_t loopCount = -1;         // -1 play once, 0 forever, n: n repeats after the first pass
  std::vector<GifFrame> frames;
  bool Empty() const { return width <= 0 || height <= 0 || frames.empty(); }
};

// Maps a GIF disposal field (0..7) to what the compositor does; the reserved values keep.
GifDisposal DisposalFromField(int field);
// Delay field in hundredths of a second to milliseconds.
std::uint32_t DelayFromField(int hundredths);

class GifBuilder {
 public:
  // False when the canvas is empty or larger than the cap.
  bool Begin(std::int32_t width, std::int32_t height);
  // Room for one more frame of w x h indices, or null when a cap would be passed; the frame
  // arrives with indices sized and zeroed and rows 0.
  GifFrame* AddFrame(std::int32_t left, std::int32_t top, std::int32_t w, std::int32_t h);
  // Drops the last frame (it turned out to hold nothing).
  void DropLast();
  GifImage& Image() { return image_; }
  GifImage Take();

 private:
  GifImage image_;
  std::uint64_t bytes_ = 0;
};

class GifCompositor {
 public:
  // Borrows the image, which must outlive the compositor. An empty image plays nothing.
  explicit GifCompositor(const GifImage& image);

  // Shows the next frame: disposes of the one shown, draws the next; after the last frame a
  // new pass starts from a clear canvas while loops remain. Returns how long the shown frame
  // stays, or 0 when the animation has ended (the last frame stays on the canvas).
  std::uint32_t Advance();
  // Back to before the first frame.
  void Reset();

  const PixelImage& Canvas() const { return canvas_; }
  int FrameIndex() const { return index_; }  // -1 before the first frame
  bool Ended() const { return ended_; }

 private:
  void Draw(const GifFrame& f);
  void Dispose(const GifFrame& f);
  struct Clip {
    std::int32_t x0, y0, x1, y1;  // canvas coordinates, exclusive ends
  };
  Clip ClipOf(const GifFrame& f) const;

  const GifImage& image_;
  PixelImage canvas_;
  std::vector<std::uint32_t> saved_;  // the area under a restore-to-previous frame
  int index_ = -1;
  int passes_ = 0;
  bool ended_ = false;
};

}  // namespace vt
