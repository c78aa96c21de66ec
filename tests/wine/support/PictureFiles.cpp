#include "support/PictureFiles.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <gif_lib.h>
#include <jpeglib.h>
#include <windows.h>

#include "support/WineTest.h"

namespace vtt {

Bytes MakeJpeg(int w, int h, std::uint32_t tint, int quality, bool progressive) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(w) * 3);
  std::uint32_t noise = 12345;
  const int r = tint >> 16 & 0xFF, g = tint >> 8 & 0xFF, b = tint & 0xFF;
  while (c.next_scanline < c.image_height) {
    const int y = static_cast<int>(c.next_scanline);
    for (int x = 0; x < w; ++x) {
      noise = noise * 1103515245 + 12345;
      const int n = static_cast<int>(noise >> 27) - 16;  // +-16
      const int shade = (x * 32 / w + y * 32 / h) - 32;
      auto clamp = [](int v) { return static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v); };
      row[x * 3] = clamp(r + shade + n);
      row[x * 3 + 1] = clamp(g + shade - n);
      row[x * 3 + 2] = clamp(b + shade + n / 2);
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&c, &p, 1);
  }
  jpeg_finish_compress(&c);
  Bytes data(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return data;
}

Bytes WithExifThumbnail(const Bytes& jpeg, const Bytes& thumbnail) {
  auto le16 = [](Bytes& b, unsigned v) { b.push_back(v & 0xFF), b.push_back(v >> 8 & 0xFF); };
  auto le32 = [&](Bytes& b, std::uint32_t v) { le16(b, v & 0xFFFF), le16(b, v >> 16); };
  // TIFF header, an empty IFD0 pointing at IFD1, which names the thumbnail's offset and length.
  Bytes tiff = {'I', 'I', 42, 0};
  le32(tiff, 8);
  le16(tiff, 0);
  le32(tiff, 14);
  le16(tiff, 2);
  for (std::uint32_t tag : {0x201u, 0x202u}) {
    le16(tiff, tag);
    le16(tiff, 4);
    le32(tiff, 1);
    le32(tiff, tag == 0x201 ? 14 + 2 + 24 + 4 : static_cast<std::uint32_t>(thumbnail.size()));
  }
  le32(tiff, 0);
  tiff.insert(tiff.end(), thumbnail.begin(), thumbnail.end());
  const std::size_t length = 2 + 6 + tiff.size();
  Bytes out = {0xFF, 0xD8, 0xFF, 0xE1, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length)};
  for (char c : {'E', 'x', 'i', 'f', '\0', '\0'}) out.push_back(static_cast<std::uint8_t>(c));
  out.insert(out.end(), tiff.begin(), tiff.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

namespace {

int Append(GifFileType* gif, const GifByteType* data, int n) {
  auto* out = static_cast<Bytes*>(gif->UserData);
  out->insert(out->end(), data, data + n);
  return n;
}

}  // namespace

Bytes MakeGif(int w, int h, const std::vector<GifFrameSpec>& frames, int loops) {
  Bytes out;
  int err = 0;
  GifFileType* gif = EGifOpen(&out, Append, &err);
  if (!gif) return {};
  const GifColorType colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  ColorMapObject* map = GifMakeMapObject(4, colours);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, w, h, 2, 0, map);
  const GifByteType loop[3] = {1, static_cast<GifByteType>(loops & 0xFF), static_cast<GifByteType>(loops >> 8)};
  EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
  EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
  EGifPutExtensionBlock(gif, 3, loop);
  EGifPutExtensionTrailer(gif);
  std::vector<GifPixelType> row(static_cast<std::size_t>(w));
  for (const GifFrameSpec& f : frames) {
    GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, f.delayHundredths, NO_TRANSPARENT_COLOR};
    GifByteType ext[4];
    const std::size_t n = EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), ext);
    EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr);
    std::fill(row.begin(), row.end(), static_cast<GifPixelType>(f.colourIndex));
    for (int y = 0; y < h; ++y) EGifPutLine(gif, row.data(), w);
  }
  EGifCloseFile(gif, &err);
  GifFreeMapObject(map);
  return out;
}

Bytes MakeBmp(int w, int h, std::uint32_t rgb) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(w) * 3 + 3) & ~3u;
  const std::uint32_t size = 54 + stride * static_cast<std::uint32_t>(h);
  Bytes b(size, 0);
  auto put = [&](std::size_t at, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  b[0] = 'B', b[1] = 'M';
  put(2, size, 4), put(10, 54, 4), put(14, 40, 4), put(18, w, 4), put(22, h, 4), put(26, 1, 2), put(28, 24, 2);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) put(54 + y * stride + x * 3, rgb, 3);  // B, G, R in the file
  return b;
}

bool WriteBytes(const std::string& path, const Bytes& data) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}

PictureFolder::PictureFolder(const std::string& name) : dir_(TempDir() + name + "\\") {
  CreateDirectoryA(dir_.c_str(), nullptr);
}

PictureFolder::~PictureFolder() {
  for (const std::string& f : written_) DeleteFileA(f.c_str());
  RemoveDirectoryA(dir_.c_str());
}

std::string PictureFolder::Write(const std::string& name, const Bytes& data) {
  written_.push_back(dir_ + name);
  WriteBytes(written_.back(), data);
  return written_.back();
}

}  // namespace vtt
