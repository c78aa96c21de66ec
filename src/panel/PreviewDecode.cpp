#include "panel/PreviewDecode.h"

#include <windows.h>

#include <vector>

#include "kit/ByteSource.h"
#include "kit/ExifThumbnail.h"
#include "kit/GifDecoder.h"
#include "kit/JpegDecoder.h"
#include "panel/PreviewFit.h"
#include "util/Handles.h"

namespace vt {

namespace {

PixelImage ToPlace(PixelImage&& picture, const Rect& place) {
  const auto w = static_cast<std::int32_t>(place.Width()), h = static_cast<std::int32_t>(place.Height());
  if (picture.width == w && picture.height == h) return std::move(picture);
  return ScalePicture(picture, w, h);
}

PreviewPicture Jpeg(const std::string& path, Size box, const CancelCheck& cancelled, const EarlyPicture& early) {
  PreviewPicture out;
  std::unique_ptr<FileSource> file = FileSource::Open(path);
  if (!file || file->Size() < 4 || file->Size() > kMaxPictureFileBytes) return out;
  std::vector<std::uint8_t> data(static_cast<std::size_t>(file->Size()));
  if (!file->Read(0, data.data(), data.size())) return out;
  file.reset();
  Size full;
  if (!JpegSize(data.data(), data.size(), full)) return out;
  const Rect place = FitStillPicture(full, box);
  if (place.IsEmpty()) return out;
  if (early) {
    const ByteSpan thumb = FindExifThumbnail(data.data(), data.size());
    PixelImage small;
    if (!thumb.Empty() && DecodeJpeg(data.data() + thumb.offset, thumb.length, 8, small, cancelled)) {
      // Drawn in the photo's own place, so that nothing moves when the photo replaces it.
      PreviewPicture first;
      first.final = false;
      first.imageSize = full;
      first.place = place;
      first.still = ToPlace(std::move(small), place);
      early(std::move(first));
    }
  }
  PixelImage decoded;
  if (!DecodeJpeg(data.data(), data.size(), ChooseJpegScale(full, box), decoded, cancelled)) return out;
  out.imageSize = full;
  out.place = place;
  out.still = ToPlace(std::move(decoded), place);
  return out;
}

// The declared size, so that a 100-byte file cannot make the loader reserve gigabytes.
bool BmpSizeAcceptable(const std::string& path) {
  std::unique_ptr<FileSource> file = FileSource::Open(path);
  std::uint32_t header, w, h;
  if (!file || !file->U32(14, false, header)) return false;
  if (header == 12) {
    if (!file->U16(18, false, w) || !file->U16(20, false, h)) return false;
  } else {
    if (!file->U32(18, false, w) || !file->U32(22, false, h)) return false;
    const auto sw = static_cast<std::int32_t>(w), sh = static_cast<std::int32_t>(h);
    w = sw < 0 ? 0u - w : w;
    h = sh < 0 ? 0u - h : h;
  }
  return w > 0 && h > 0 && std::uint64_t{w} * h <= kMaxBmpPixels;
}

PreviewPicture Bmp(const std::string& path, Size box) {
  PreviewPicture out;
  if (!BmpSizeAcceptable(path)) return out;
  UniqueBitmap loaded(static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  BITMAP info{};
  if (!loaded || !GetObjectA(loaded.get(), sizeof info, &info)) return out;
  const Size full{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
  const Rect place = FitStillPicture(full, box);
  if (place.IsEmpty()) return out;
  const auto w = static_cast<std::int32_t>(place.Width()), h = static_cast<std::int32_t>(place.Height());
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down, the layout of PixelImage
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  UniqueMemoryDc source(CreateCompatibleDC(nullptr)), target(CreateCompatibleDC(nullptr));
  UniqueBitmap canvas(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!source || !target || !canvas || !bits) return out;
  BOOL drawn = FALSE;
  {
    Selected from(source.get(), loaded.get()), into(target.get(), canvas.get());
    SetStretchBltMode(target.get(), HALFTONE);
    SetBrushOrgEx(target.get(), 0, 0, nullptr);
    drawn = StretchBlt(target.get(), 0, 0, w, h, source.get(), 0, 0, full.width, full.height, SRCCOPY);
    GdiFlush();
  }
  if (!drawn || !out.still.Allocate(w, h, kMaxBmpPixels)) return PreviewPicture{};
  const auto* p = static_cast<const std::uint32_t*>(bits);
  for (std::size_t i = 0; i < out.still.pixels.size(); ++i) out.still.pixels[i] = p[i] | 0xFF000000u;
  out.imageSize = full;
  out.place = place;
  return out;
}

PreviewPicture Gif(const std::string& path, Size box, const CancelCheck& cancelled) {
  PreviewPicture out;
  std::unique_ptr<FileSource> file = FileSource::Open(path);
  auto image = std::make_shared<GifImage>();
  if (!file || !DecodeGif(*file, *image, cancelled)) return out;
  out.imageSize = Size{image->width, image->height};
  out.place = FitGifPreview(out.imageSize, box);
  out.animation = std::move(image);
  return out;
}

}  // namespace

PreviewPicture DecodePreview(const std::string& path, PreviewKind kind, Size box, const CancelCheck& cancelled,
                             const EarlyPicture& early) {
  try {
    switch (kind) {
      case PreviewKind::Jpeg: return Jpeg(path, box, cancelled, early);
      case PreviewKind::Bmp: return Bmp(path, box);
      case PreviewKind::Gif: return Gif(path, box, cancelled);
      case PreviewKind::None: break;
    }
  } catch (const std::bad_alloc&) {
    // Within the caps a picture still may not fit in a crowded 32-bit address space: no picture.
  }
  return PreviewPicture{};
}

}  // namespace vt
