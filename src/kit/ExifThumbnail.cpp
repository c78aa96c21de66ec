#include "kit/ExifThumbnail.h"

#include "kit/ByteSource.h"

namespace vt {

namespace {

// The thumbnail of the Exif block at [tiff, tiff + length) of s: IFD1 (the IFD after the
// first) names its offset (tag 0x201) and length (0x202), both from the block's start.
ByteSpan InExif(ByteSource& s, std::uint64_t tiff, std::uint64_t length) {
  std::uint8_t order[2];
  if (!s.Read(tiff, order, 2)) return {};
  const bool be = order[0] == 'M' && order[1] == 'M';
  if (!be && !(order[0] == 'I' && order[1] == 'I')) return {};
  std::uint32_t ifd0, n0, ifd1, n1;
  if (!s.U32(tiff + 4, be, ifd0) || ifd0 >= length || !s.U16(tiff + ifd0, be, n0)) return {};
  if (!s.U32(tiff + ifd0 + 2 + 12ull * n0, be, ifd1) || ifd1 == 0 || ifd1 >= length) return {};
  if (!s.U16(tiff + ifd1, be, n1)) return {};
  std::uint32_t at = 0, size = 0;
  for (std::uint32_t i = 0; i < n1; ++i) {
    const std::uint64_t e = tiff + ifd1 + 2 + 12ull * i;
    std::uint32_t tag, value;
    if (!s.U16(e, be, tag) || !s.U32(e + 8, be, value)) return {};
    if (tag == 0x201) at = value;
    if (tag == 0x202) size = value;
  }
  if (size < 4 || at >= length || size > length - at) return {};
  std::uint8_t soi[2];
  if (!s.Read(tiff + at, soi, 2) || soi[0] != 0xFF || soi[1] != 0xD8) return {};
  return ByteSpan{static_cast<std::size_t>(tiff + at), size};
}

}  // namespace

ByteSpan FindExifThumbnail(const std::uint8_t* data, std::size_t size) {
  MemorySource s(data, size);
  std::uint8_t m[2];
  if (!s.Read(0, m, 2) || m[0] != 0xFF || m[1] != 0xD8) return {};
  std::uint64_t pos = 2;
  // Walk the segments before the frame header; Exif is APP1 and comes first in practice.
  for (int segments = 0; segments < 64; ++segments) {
    std::uint32_t length;
    if (!s.Read(pos, m, 2) || m[0] != 0xFF || !s.U16(pos + 2, true, length) || length < 2) return {};
    if (m[1] == 0xDA || (m[1] >= 0xC0 && m[1] <= 0xCF && m[1] != 0xC4 && m[1] != 0xCC)) return {};
    std::uint8_t tag[6];
    if (m[1] == 0xE1 && length >= 8 + 6 && s.Read(pos + 4, tag, 6) && tag[0] == 'E' && tag[1] == 'x' &&
        tag[2] == 'i' && tag[3] == 'f' && tag[4] == 0 && tag[5] == 0) {
      ByteSpan found = InExif(s, pos + 10, length - 8);
      if (!found.Empty() && found.offset + found.length <= size) return found;
    }
    pos += 2 + length;
  }
  return {};
}

}  // namespace vt
