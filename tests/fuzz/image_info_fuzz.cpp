// libFuzzer target: the picture header reader and the Exif thumbnail finder on arbitrary bytes.
// Besides the sanitizers' findings it stops on a result that breaks their promises.
#include <cstdint>
#include <cstdlib>

#include "kit/ExifThumbnail.h"
#include "panel/DCImageInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vt::TDCImageInfo info;
  info.ReadInfo(data, size);
  if (info.FileSize != static_cast<std::int64_t>(size)) std::abort();
  if (info.Format == vt::kFormatUnknown && (info.Width || info.Height || info.BitsPerPixel)) std::abort();
  if (info.Format > vt::kFormatTiff) std::abort();
  const vt::ByteSpan thumb = vt::FindExifThumbnail(data, size);
  if (!thumb.Empty() && (thumb.offset > size || thumb.length > size - thumb.offset || data[thumb.offset] != 0xFF))
    std::abort();
  return 0;
}
