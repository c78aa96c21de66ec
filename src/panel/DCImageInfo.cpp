#include "panel/DCImageInfo.h"

#include <memory>

#include "kit/ByteSource.h"

namespace vt {

namespace {

// A TIFF field value read by its type: BYTE, SHORT, LONG; anything else counts as 0.
bool TiffValue(ByteSource& s, std::uint64_t at, std::uint32_t type, bool be, std::uint32_t& v) {
  v = 0;
  if (type == 1) {
    std::uint8_t b;
    if (!s.Byte(at, b)) return false;
    v = b;
    return true;
  }
  if (type == 3) return s.U16(at, be, v);
  if (type == 4) return s.U32(at, be, v);
  return true;
}

}  // namespace

void TDCImageInfo::Clear() {
  Format = kFormatUnknown;
  Width = Height = BitsPerPixel = 0;
}

void TDCImageInfo::ReadInfo(const std::string& fileName) {
  Clear();
  FileSize = 0;
  std::unique_ptr<FileSource> file = FileSource::Open(fileName);
  if (!file) return;
  ReadInfo(*file);
}

void TDCImageInfo::ReadInfo(const void* data, std::size_t size) {
  MemorySource source(data, size);
  ReadInfo(source);
}

void TDCImageInfo::ReadInfo(ByteSource& s) {
  Clear();
  FileSize = static_cast<std::int64_t>(s.Size());
  std::uint8_t b[3];
  if (!s.Read(0, b, 3)) return;
  // Each reader that fails (the data ends early) leaves everything cleared for the next.
  auto run = [this](bool ok) {
    if (!ok) Clear();
  };
  if (b[0] == 0x89 && b[1] == 0x50 && b[2] == 0x4E) run(ReadPng(s));
  if (b[0] == 0x47 && b[1] == 0x49 && b[2] == 0x46) run(ReadGif(s));
  if (b[0] == 0x42 && b[1] == 0x4D) run(ReadBmp(s));
  if (b[0] == 0x0A) run(ReadPcx(s));
  if (b[0] == 0x49 && b[1] == 0x49 && b[2] == 0x2A) run(ReadTiff(s, false));
  // A big-endian TIFF stores its 42 big-endian too: 4D 4D 00 2A. Files that write the byte
  // right after MM are taken as well.
  std::uint8_t b3 = 0;
  const bool mm42 = b[0] == 0x4D && b[1] == 0x4D && b[2] == 0x00 && s.Byte(3, b3) && b3 == 0x2A;
  if ((b[0] == 0x4D && b[1] == 0x4D && b[2] == 0x2A) || mm42) run(ReadTiff(s, true));
  if (Format == kFormatUnknown) run(ReadJpeg(s));
}

bool TDCImageInfo::ReadPng(ByteSource& s) {
  std::uint8_t depth, type;
  std::uint32_t w, h;
  if (!s.Byte(24, depth) || !s.Byte(25, type)) return false;
  switch (type) {
    case 0: BitsPerPixel = depth; break;
    case 2: BitsPerPixel = 3 * depth; break;
    case 3: BitsPerPixel = 8; break;
    case 4: BitsPerPixel = 2 * depth; break;
    case 6: BitsPerPixel = 4 * depth; break;
    default: return false;  // an unknown colour type is no PNG we can describe
  }
  // The low halves of the 32-bit header fields, as the pane has always shown them.
  if (!s.U16(18, true, w) || !s.U16(22, true, h)) return false;
  Format = kFormatPng;
  Width = static_cast<std::int32_t>(w);
  Height = static_cast<std::int32_t>(h);
  return true;
}

bool TDCImageInfo::ReadGif(ByteSource& s) {
  std::uint32_t w, h;
  std::uint8_t flags;
  if (!s.U16(6, false, w) || !s.U16(8, false, h) || !s.Byte(10, flags)) return false;
  Format = kFormatGif;
  Width = static_cast<std::int32_t>(w);
  Height = static_cast<std::int32_t>(h);
  BitsPerPixel = (flags & 7) + 1;
  return true;
}

bool TDCImageInfo::ReadBmp(ByteSource& s) {
  std::uint32_t headerSize, w, h, h32;
  std::uint8_t bits;
  if (!s.U32(14, false, headerSize)) return false;
  if (headerSize == 12) {
    // The old OS/2 core header keeps 16-bit fields at other offsets; the usual offsets would
    // read the plane count as the height and past the header for the depth.
    if (!s.U16(18, false, w) || !s.U16(20, false, h) || !s.Byte(24, bits)) return false;
  } else {
    if (!s.U16(18, false, w) || !s.U32(22, false, h32) || !s.Byte(28, bits)) return false;
    // A negative height marks a top-down bitmap; its size is the magnitude.
    const std::int32_t signedHeight = static_cast<std::int32_t>(h32);
    const std::uint32_t magnitude = signedHeight < 0 ? 0u - h32 : h32;
    h = magnitude & 0xFFFF;
  }
  Format = kFormatBmp;
  Width = static_cast<std::int32_t>(w);
  Height = static_cast<std::int32_t>(h);
  BitsPerPixel = bits;
  return true;
}

bool TDCImageInfo::ReadPcx(ByteSource& s) {
  std::uint8_t perPlane, planes;
  std::uint32_t x0, y0, x1, y1;
  if (!s.Byte(3, perPlane) || !s.U16(4, false, x0) || !s.U16(6, false, y0) || !s.U16(8, false, x1) ||
      !s.U16(10, false, y1) || !s.Byte(65, planes))
    return false;
  const std::int32_t w = static_cast<std::int32_t>(x1) - static_cast<std::int32_t>(x0) + 1;
  const std::int32_t h = static_cast<std::int32_t>(y1) - static_cast<std::int32_t>(y0) + 1;
  // Reversed window corners would print a negative size; such a header describes nothing.
  if (w < 1 || h < 1) return false;
  Format = kFormatPcx;
  Width = w;
  Height = h;
  BitsPerPixel = perPlane * planes;
  return true;
}

bool TDCImageInfo::ReadTiff(ByteSource& s, bool be) {
  std::uint32_t ifd, count;
  if (!s.U32(4, be, ifd) || !s.U16(ifd, be, count)) return false;
  std::uint32_t w = 0, h = 0, bits = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t entry = std::uint64_t{ifd} + 2 + 12ull * i;
    std::uint32_t tag, type, n, v;
    if (!s.U16(entry, be, tag) || !s.U16(entry + 2, be, type) || !s.U32(entry + 4, be, n)) return false;
    if (tag != 256 && tag != 257 && tag != 258) continue;
    if (!TiffValue(s, entry + 8, type, be, v)) return false;
    if (tag == 256) w = v;
    if (tag == 257) h = v;
    if (tag == 258) {
      bits = v;
      // Several samples (RGB: 8,8,8) that do not fit in the entry are stored elsewhere and the
      // entry holds their offset; the pixel's depth is their sum, not the offset.
      const std::uint32_t size = type == 3 ? 2 : type == 1 ? 1 : type == 4 ? 4 : 0;
      if (size && n > 1 && n <= 16) {
        const bool inEntry = n * size <= 4;
        std::uint64_t at = entry + 8;
        std::uint32_t pointer;
        if (!inEntry) {
          if (!s.U32(entry + 8, be, pointer)) return false;
          at = pointer;
        }
        bits = 0;
        for (std::uint32_t k = 0; k < n; ++k) {
          if (!TiffValue(s, at + k * size, type, be, v)) return false;
          bits += v;
        }
      }
    }
  }
  if (w < 1 || h < 1 || bits < 1 || w > INT32_MAX || h > INT32_MAX || bits > INT32_MAX) return false;
  Format = kFormatTiff;
  Width = static_cast<std::int32_t>(w);
  Height = static_cast<std::int32_t>(h);
  BitsPerPixel = static_cast<std::int32_t>(bits);
  return true;
}

bool TDCImageInfo::ReadJpeg(ByteSource& s) {
  const std::uint64_t size = s.Size();
  std::uint64_t pos = 0;
  std::uint8_t b[3];
  for (;; ++pos) {
    if (!s.Read(pos, b, 3)) return false;
    if (b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) break;
  }
  ++pos;
  while (pos < size) {
    if (!s.Read(pos, b, 2)) return false;
    if (b[0] == 0xFF && b[1] != 0xFF) {
      if (b[1] >= 0xC0 && b[1] <= 0xC3) break;
      // The length counts its own two bytes and the segment after them, so the next marker
      // starts where the length field plus L ends.
      std::uint32_t length;
      if (!s.U16(pos + 2, true, length)) return false;
      pos += 2 + length;
    } else {
      ++pos;
    }
  }
  std::uint32_t h, w;
  std::uint8_t components;
  if (!s.U16(pos + 5, true, h) || !s.U16(pos + 7, true, w) || !s.Byte(pos + 9, components)) return false;
  Format = kFormatJpeg;
  Width = static_cast<std::int32_t>(w);
  Height = static_cast<std::int32_t>(h);
  BitsPerPixel = 8 * components;
  return true;
}

}  // namespace vt
