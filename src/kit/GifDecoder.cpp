#include "kit/GifDecoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>

#include "kit/ByteSource.h"

namespace vt {

namespace {

struct Reader {
  ByteSource* source;
  std::uint64_t pos;
};

int ReadBytes(GifFileType* gif, GifByteType* buffer, int n) {
  auto* r = static_cast<Reader*>(gif->UserData);
  const std::uint64_t left = r->source->Size() > r->pos ? r->source->Size() - r->pos : 0;
  const std::size_t take = n < 0 ? 0 : left < std::uint64_t(n) ? static_cast<std::size_t>(left) : std::size_t(n);
  if (take && !r->source->Read(r->pos, buffer, take)) return 0;
  r->pos += take;
  return static_cast<int>(take);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

std::vector<std::uint32_t> Palette(const ColorMapObject* map) {
  std::vector<std::uint32_t> out;
  if (!map || !map->Colors) return out;
  for (int i = 0; i < map->ColorCount && i < 256; ++i) {
    const GifColorType& c = map->Colors[i];
    out.push_back(0xFF000000u | std::uint32_t{c.Red} << 16 | std::uint32_t{c.Green} << 8 | c.Blue);
  }
  return out;
}

// Reads one image's rows into f; false when the data broke off (f keeps what arrived).
bool ReadRows(GifFileType* gif, GifFrame& f, bool interlaced) {
  if (!interlaced) {
    for (; f.rows < f.height; ++f.rows)
      if (DGifGetLine(gif, &f.indices[std::size_t(f.rows) * f.width], f.width) == GIF_ERROR) return false;
    return true;
  }
  // Interlaced rows arrive in four passes; a frame cut in the middle of them has holes, so
  // only a whole one counts.
  static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = start[pass]; y < f.height; y += step[pass])
      if (DGifGetLine(gif, &f.indices[std::size_t(y) * f.width], f.width) == GIF_ERROR) return false;
  f.rows = f.height;
  return true;
}

}  // namespace

bool DecodeGif(ByteSource& source, GifImage& out, const CancelCheck& cancelled) {
  out = GifImage{};
  Reader reader{&source, 0};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, ReadBytes, &error));
  if (!gif) return false;
  GifBuilder builder;
  if (!builder.Begin(gif->SWidth, gif->SHeight)) return false;
  builder.Image().palette = Palette(gif->SColorMap);
  GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  bool more = true;
  while (more) {
    if (cancelled && cancelled()) return false;
    GifRecordType type;
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) break;
    if (type == TERMINATE_RECORD_TYPE) break;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) break;
      bool netscape = false;
      if (block && code == GRAPHICS_EXT_FUNC_CODE) DGifExtensionToGCB(block[0], block + 1, &control);
      if (block && code == APPLICATION_EXT_FUNC_CODE && block[0] >= 11)
        netscape = std::equal(block + 1, block + 12, reinterpret_cast<const GifByteType*>("NETSCAPE2.0"));
      while (block) {
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) {
          more = false;
          break;
        }
        if (netscape && block && block[0] >= 3 && block[1] == 1) builder.Image().loopCount = block[2] | block[3] << 8;
      }
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif.get()) == GIF_ERROR) break;
    const GifImageDesc& d = gif->Image;
    GifFrame* f = builder.AddFrame(d.Left, d.Top, d.Width, d.Height);
    if (!f) break;  // a cap: keep what came before
    f->palette = Palette(d.ColorMap);
    f->transparent = control.TransparentColor;
    f->disposal = DisposalFromField(control.DisposalMode);
    f->delayMs = DelayFromField(control.DelayTime);
    control = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    if (!ReadRows(gif.get(), *f, d.Interlace)) {
      if (f->rows == 0) builder.DropLast();
      break;
    }
  }
  out = builder.Take();
  return !out.Empty();
}

}  // namespace vt
