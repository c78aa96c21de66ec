// The picture header reader on small hand-made files of each kind it knows, and on data that
// ends early or describes nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "panel/DCImageInfo.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Header {
  Bytes b;
  explicit Header(std::size_t size) : b(size, 0) {}
  Header& At(std::size_t o, std::initializer_list<int> v) {
    for (int x : v) b[o++] = static_cast<std::uint8_t>(x);
    return *this;
  }
  Header& Le16(std::size_t o, unsigned v) { return At(o, {int(v & 0xFF), int(v >> 8)}); }
  Header& Be16(std::size_t o, unsigned v) { return At(o, {int(v >> 8), int(v & 0xFF)}); }
  Header& Le32(std::size_t o, std::uint32_t v) { return Le16(o, v & 0xFFFF).Le16(o + 2, v >> 16); }
  Header& Be32(std::size_t o, std::uint32_t v) { return Be16(o, v >> 16).Be16(o + 2, v & 0xFFFF); }
};

struct Info {
  int format, width, height, bits;
  friend bool operator==(const Info&, const Info&) = default;
  friend std::ostream& operator<<(std::ostream& o, const Info& i) {
    return o << i.format << ": " << i.width << " x " << i.height << " x " << i.bits;
  }
};

Info Read(const Bytes& b) {
  vt::TDCImageInfo info;
  info.ReadInfo(b.data(), b.size());
  return {info.Format, info.Width, info.Height, info.BitsPerPixel};
}

Bytes Png(int depth, int type) {
  return Header(26).At(0, {0x89, 'P', 'N', 'G', 13, 10, 26, 10}).Be32(16, 0x10280).Be32(20, 480).At(24, {depth, type}).b;
}

Bytes Gif(unsigned w, unsigned h, int flags) { return Header(11).At(0, {'G', 'I', 'F', '8', '9', 'a'}).Le16(6, w).Le16(8, h).At(10, {flags}).b; }

Bytes Bmp(std::uint32_t w, std::int32_t h, int bits) {
  return Header(29).At(0, {'B', 'M'}).Le32(14, 40).Le32(18, w).Le32(22, static_cast<std::uint32_t>(h)).At(28, {bits}).b;
}

// A TIFF with width, height and a one-sample depth as SHORT entries, in either byte order.
Bytes Tiff(bool be, unsigned w, unsigned h, unsigned bits) {
  Header t(8 + 2 + 3 * 12 - 2);  // ends with the last value read
  auto u16 = [&](std::size_t o, unsigned v) { be ? t.Be16(o, v) : t.Le16(o, v); };
  auto u32 = [&](std::size_t o, std::uint32_t v) { be ? t.Be32(o, v) : t.Le32(o, v); };
  t.At(0, be ? std::initializer_list<int>{'M', 'M', 0, 42} : std::initializer_list<int>{'I', 'I', 42, 0});
  u32(4, 8);
  u16(8, 3);
  const unsigned tags[3][2] = {{256, w}, {257, h}, {258, bits}};
  for (int i = 0; i < 3; ++i) {
    const std::size_t e = 10 + 12 * i;
    u16(e, tags[i][0]);
    u16(e + 2, 3);
    u32(e + 4, 1);
    u16(e + 8, tags[i][1]);
  }
  return t.b;
}

// SOI, an APP0 segment (whose bytes must be skipped, not scanned), then a frame header.
Bytes Jpeg(int sof, unsigned w, unsigned h, int components) {
  Header j(2 + 18 + 10);
  j.At(0, {0xFF, 0xD8, 0xFF, 0xE0}).Be16(4, 16).At(6, {'J', 'F', 'I', 'F', 0, 0xFF, 0xC0, 0xFF, 0xC0});
  j.At(20, {0xFF, sof}).Be16(22, 8 + 3 * components).At(24, {8}).Be16(25, h).Be16(27, w).At(29, {components});
  return j.b;
}

TEST(ImageInfo, PngDepthFollowsTheColourType) {
  EXPECT_EQ(Read(Png(8, 0)), (Info{3, 640, 480, 8}));  // width: the low half of 0x10280
  EXPECT_EQ(Read(Png(8, 2)), (Info{3, 640, 480, 24}));
  EXPECT_EQ(Read(Png(4, 3)), (Info{3, 640, 480, 8}));
  EXPECT_EQ(Read(Png(16, 4)), (Info{3, 640, 480, 32}));
  EXPECT_EQ(Read(Png(8, 6)), (Info{3, 640, 480, 32}));
  EXPECT_EQ(Read(Png(8, 5)), (Info{0, 0, 0, 0}));
}

TEST(ImageInfo, GifBitsComeFromTheGlobalTableSize) {
  EXPECT_EQ(Read(Gif(2000, 1000, 0xF7)), (Info{1, 2000, 1000, 8}));
  EXPECT_EQ(Read(Gif(16, 16, 0x80)), (Info{1, 16, 16, 1}));
}

TEST(ImageInfo, BmpSizeAndDepth) {
  EXPECT_EQ(Read(Bmp(640, 480, 24)), (Info{4, 640, 480, 24}));
  EXPECT_EQ(Read(Bmp(640, -480, 24)), (Info{4, 640, 480, 24}));  // top-down
  EXPECT_EQ(Read(Bmp(70000, 10, 8)), (Info{4, 70000 & 0xFFFF, 10, 8}));
  Bytes core = Header(26).At(0, {'B', 'M'}).Le32(14, 12).Le16(18, 32).Le16(20, 16).Le16(22, 1).At(24, {4}).b;
  EXPECT_EQ(Read(core), (Info{4, 32, 16, 4}));
}

TEST(ImageInfo, PcxWindowAndPlanes) {
  Bytes pcx = Header(128).At(0, {0x0A, 5, 1, 8}).Le16(4, 10).Le16(6, 20).Le16(8, 109).Le16(10, 69).At(65, {3}).b;
  EXPECT_EQ(Read(pcx), (Info{5, 100, 50, 24}));
  Bytes reversed = Header(128).At(0, {0x0A, 5, 1, 8}).Le16(4, 10).Le16(8, 5).Le16(10, 9).At(65, {1}).b;
  EXPECT_EQ(Read(reversed), (Info{0, 0, 0, 0}));
}

TEST(ImageInfo, TiffInBothByteOrders) {
  EXPECT_EQ(Read(Tiff(false, 300, 200, 8)), (Info{6, 300, 200, 8}));
  EXPECT_EQ(Read(Tiff(true, 300, 200, 1)), (Info{6, 300, 200, 1}));
  EXPECT_EQ(Read(Tiff(false, 300, 0, 8)), (Info{0, 0, 0, 0}));
}

TEST(ImageInfo, TiffSamplesStoredOutsideTheEntryAreSummed) {
  Header h(0);
  h.b = Tiff(false, 300, 200, 0);
  h.b.resize(60);
  h.Le32(10 + 24 + 4, 3).Le32(10 + 24 + 8, 54).Le16(54, 8).Le16(56, 8).Le16(58, 8);
  EXPECT_EQ(Read(h.b), (Info{6, 300, 200, 24}));
}

TEST(ImageInfo, JpegBaselineAndProgressiveFrames) {
  EXPECT_EQ(Read(Jpeg(0xC0, 640, 480, 3)), (Info{2, 640, 480, 24}));
  EXPECT_EQ(Read(Jpeg(0xC2, 6000, 4000, 1)), (Info{2, 6000, 4000, 8}));
  Bytes late = Jpeg(0xC0, 64, 32, 3);
  late.insert(late.begin(), {'x', 'y', 'z'});  // the search finds the start anywhere
  EXPECT_EQ(Read(late), (Info{2, 64, 32, 24}));
}

TEST(ImageInfo, DataThatEndsEarlyDescribesNothing) {
  const Bytes files[] = {Png(8, 2), Gif(10, 10, 0x80), Bmp(640, 480, 24), Tiff(false, 3, 2, 8), Tiff(true, 3, 2, 8),
                         Jpeg(0xC0, 640, 480, 3)};
  for (const Bytes& f : files) {
    for (std::size_t n = 0; n < f.size(); ++n) {
      Bytes cut(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(n));
      const Info got = Read(cut);
      // Each file is exactly as long as its reader needs; a cut one must not report a partial
      // result.
      EXPECT_EQ(got, (Info{0, 0, 0, 0})) << n;
    }
  }
  EXPECT_EQ(Read(Bytes{}), (Info{0, 0, 0, 0}));
  EXPECT_EQ(Read(Bytes{'G', 'I'}), (Info{0, 0, 0, 0}));
}

TEST(ImageInfo, ReadsFilesByNameAndTakesTheirSize) {
  const std::string path = ::testing::TempDir() + "vt_info.gif";
  const Bytes gif = Gif(16, 8, 0x81);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(gif.data(), 1, gif.size(), f);
  std::fclose(f);
  vt::TDCImageInfo info;
  info.ReadInfo(path);
  EXPECT_EQ((Info{info.Format, info.Width, info.Height, info.BitsPerPixel}), (Info{1, 16, 8, 2}));
  EXPECT_EQ(info.FileSize, 11);
  std::remove(path.c_str());
  info.ReadInfo(path);
  EXPECT_EQ(info.Format, 0);
  EXPECT_EQ(info.FileSize, 0);
}

}  // namespace
