// libFuzzer target: the GIF compositor with frames made from arbitrary bytes, through the same
// builder (and caps) the decoder uses, played for three passes.
//
// Layout read from the input: canvas width and height (9 bits each: the caps have their own
// test, and canvases of 8 Mi pixels would make each run too slow to explore anything),
// loop count, global table size and colours, then frames: left, top (signed 16 bits), width,
// height (7 bits), flags (disposal, transparency, local table), transparent index, delay,
// decoded rows, and as many index bytes as remain for the frame.
#include <cstdint>
#include <cstdlib>

#include "kit/GifAnimation.h"

namespace {

struct Input {
  const std::uint8_t* p;
  std::size_t n;
  std::uint8_t U8() { return n ? (--n, *p++) : 0; }
  std::uint16_t U16() { return static_cast<std::uint16_t>(U8() | U8() << 8); }
};

std::vector<std::uint32_t> Table(Input& in, int count) {
  std::vector<std::uint32_t> t;
  for (int i = 0; i < count; ++i) t.push_back(0xFF000000u | in.U8() << 16 | in.U8() << 8 | in.U8());
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  vt::GifBuilder builder;
  if (!builder.Begin(in.U16() & 0x1FF, in.U16() & 0x1FF)) return 0;
  builder.Image().loopCount = static_cast<std::int8_t>(in.U8());
  builder.Image().palette = Table(in, in.U8());
  while (in.n > 0) {
    const auto left = static_cast<std::int16_t>(in.U16()), top = static_cast<std::int16_t>(in.U16());
    const std::uint16_t w = in.U16() & 0x7F, h = in.U16() & 0x7F;
    const std::uint8_t flags = in.U8();
    vt::GifFrame* f = builder.AddFrame(left, top, w, h);
    if (!f) break;
    f->disposal = vt::DisposalFromField(flags & 7);
    f->transparent = flags & 8 ? in.U8() : -1;
    if (flags & 16) f->palette = Table(in, in.U8() & 15);
    f->delayMs = vt::DelayFromField(in.U8());
    f->rows = in.U8() % (h + 1);
    for (std::uint8_t& i : f->indices) {
      if (!in.n) break;
      i = in.U8();
    }
  }
  vt::GifCompositor c(builder.Image());
  const std::size_t steps = 3 * builder.Image().frames.size() + 2;
  for (std::size_t i = 0; i < steps; ++i) {
    const std::uint32_t delay = c.Advance();
    if (delay == 0 && !c.Ended()) std::abort();
    if (!c.Ended() && c.Canvas().pixels.size() != std::size_t(c.Canvas().width) * c.Canvas().height) std::abort();
  }
  return 0;
}
