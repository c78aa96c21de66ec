// Decodes the picture the preview pane shows for one file, ready to draw: a BMP (the platform's
// loader) or JPEG (libjpeg-turbo) shrunk to the place FitStillPicture gives it in the box, or a
// GIF's frames for the compositor. Runs on the preview worker's thread; never shows anything.
//
// Caps besides the decoders' own: a JPEG file is read whole, up to kMaxPictureFileBytes; a BMP
// may declare at most kMaxBmpPixels (the platform allocates the whole bitmap).
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "kit/CancelCheck.h"
#include "kit/GifAnimation.h"
#include "kit/PixelImage.h"
#include "kit/Rect.h"
#include "panel/PreviewChoice.h"

namespace vt {

constexpr std::uint64_t kMaxPictureFileBytes = 128u << 20;
constexpr std::uint64_t kMaxBmpPixels = 64u << 20;

struct PreviewPicture {
  // False for a stand-in (a photo's embedded thumbnail) while the real picture decodes.
  bool final = true;
  Size imageSize;  // of the whole picture, as the file declares it
  // BMP and JPEG: the picture at exactly the size of place, its rectangle inside the box.
  PixelImage still;
  Rect place;
  // GIF: the frames; the panel plays them in the rectangle FitGifPreview(imageSize, box).
  std::shared_ptr<const GifImage> animation;

  bool Empty() const { return still.Empty() && !animation; }
};

using EarlyPicture = std::function<void(PreviewPicture&&)>;

// An empty picture for anything that cannot be decoded. early, when given, receives a stand-in
// before the final picture is decoded, if the file has one.
PreviewPicture DecodePreview(const std::string& path, PreviewKind kind, Size box, const CancelCheck& cancelled,
                             const EarlyPicture& early);

}  // namespace vt
