// Finds the small JPEG that cameras embed in a photo's Exif segment, so that the pane can show
// something within a frame while the photo itself decodes.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vt {

struct ByteSpan {
  std::size_t offset = 0;
  std::size_t length = 0;
  bool Empty() const { return length == 0; }
};

// The thumbnail's place inside data (the first bytes of a JPEG file; the Exif segment lies
// in the first 64 KiB), or an empty span. The span always lies inside data and starts with a
// JPEG start-of-image marker.
ByteSpan FindExifThumbnail(const std::uint8_t* data, std::size_t size);

}  // namespace vt
