// The picture header reader of the preview pane: width, height and colour depth of a GIF,
// JPEG, PNG, BMP, PCX or TIFF file from a few bytes at fixed offsets, without decoding it.
// Any file it cannot make sense of gives Format 0 and every other field 0; it never fails
// otherwise and never reads past the end of the data.
#pragma once
#include <cstdint>
#include <string>

namespace vt {

class ByteSource;

enum ImageFormat : std::uint8_t {
  kFormatUnknown = 0,
  kFormatGif = 1,
  kFormatJpeg = 2,
  kFormatPng = 3,
  kFormatBmp = 4,
  kFormatPcx = 5,
  kFormatTiff = 6,
};

class TDCImageInfo {
 public:
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int32_t BitsPerPixel = 0;
  std::uint8_t Format = kFormatUnknown;
  std::int64_t FileSize = 0;  // taken when the file is opened; 0 when it cannot be

  // The file is open only during the call.
  void ReadInfo(const std::string& fileName);
  void ReadInfo(ByteSource& source);
  void ReadInfo(const void* data, std::size_t size);

 private:
  void Clear();
  bool ReadPng(ByteSource& s);
  bool ReadGif(ByteSource& s);
  bool ReadBmp(ByteSource& s);
  bool ReadPcx(ByteSource& s);
  bool ReadTiff(ByteSource& s, bool bigEndian);
  bool ReadJpeg(ByteSource& s);
};

}  // namespace vt
