// The preview pane's decoding on the real Win32 layer: JPEG through libjpeg-turbo (with an
// Exif stand-in first), BMP through the platform loader, a two-frame GIF through giflib and
// the compositor, and the worker that hands only the newest request's picture to its window.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "kit/GifAnimation.h"
#include "panel/PreviewDecode.h"
#include "panel/PreviewWorker.h"
#include "support/PictureFiles.h"
#include "support/WineTest.h"

namespace {

constexpr vt::Size kBox{150, 209};
constexpr UINT kReady = WM_APP + 7;

struct Files : vtt::PictureFolder {
  Files() : PictureFolder("vt_preview") {}
};

// Red, green and blue of the pixel in the middle of a picture.
void ExpectMiddle(const vt::PixelImage& p, int r, int g, int b) {
  ASSERT_FALSE(p.Empty());
  const std::uint32_t v = p.pixels[std::size_t(p.height / 2) * p.width + p.width / 2];
  EXPECT_NEAR(int(v >> 16 & 0xFF), r, 40);
  EXPECT_NEAR(int(v >> 8 & 0xFF), g, 40);
  EXPECT_NEAR(int(v & 0xFF), b, 40);
}

TEST(PreviewDecode, JpegShowsTheThumbnailFirstThenThePhotoInItsPlace) {
  Files files;
  const vtt::Bytes photo = vtt::MakeJpeg(640, 480, 0xC04040);
  const std::string path = files.Write("photo.JPEG", vtt::WithExifThumbnail(photo, vtt::MakeJpeg(160, 120, 0x4040C0)));
  std::vector<vt::PreviewPicture> early;
  const vt::PreviewPicture final = vt::DecodePreview(path, vt::PreviewKind::Jpeg, kBox, {},
                                                     [&](vt::PreviewPicture&& p) { early.push_back(std::move(p)); });
  ASSERT_EQ(early.size(), 1u);
  EXPECT_FALSE(early[0].final);
  EXPECT_EQ(early[0].place, (vt::Rect{0, 48, 150, 160}));
  ExpectMiddle(early[0].still, 0x40, 0x40, 0xC0);
  EXPECT_TRUE(final.final);
  EXPECT_EQ(final.imageSize, (vt::Size{640, 480}));
  EXPECT_EQ(final.place, (vt::Rect{0, 48, 150, 160}));
  ExpectMiddle(final.still, 0xC0, 0x40, 0x40);
}

TEST(PreviewDecode, DamagedAndEmptyFilesGiveNoPicture) {
  Files files;
  vtt::Bytes garbage = vtt::MakeJpeg(64, 64, 0x808080);
  for (std::size_t i = 20; i < garbage.size() - 2; ++i) garbage[i] = static_cast<std::uint8_t>(i * 7);
  EXPECT_TRUE(vt::DecodePreview(files.Write("bad.jpg", garbage), vt::PreviewKind::Jpeg, kBox, {}, {}).Empty());
  EXPECT_TRUE(vt::DecodePreview(files.Write("empty.bmp", {}), vt::PreviewKind::Bmp, kBox, {}, {}).Empty());
  vtt::Bytes gif = vtt::MakeGif(100, 100, {{0, 10}, {2, 10}});
  gif.resize(gif.size() - 10);  // cut in the second frame's data: the first still plays
  const vt::PreviewPicture cut = vt::DecodePreview(files.Write("cut.gif", gif), vt::PreviewKind::Gif, kBox, {}, {});
  ASSERT_TRUE(cut.animation);
  EXPECT_EQ(cut.animation->frames.size(), 1u);
  vtt::Bytes huge = vtt::MakeGif(16, 16, {{0, 10}});
  huge[6] = huge[7] = huge[8] = huge[9] = 0xFF;  // declares 65535 x 65535
  EXPECT_TRUE(vt::DecodePreview(files.Write("huge.gif", huge), vt::PreviewKind::Gif, kBox, {}, {}).Empty());
}

TEST(PreviewDecode, BmpThroughThePlatformLoader) {
  Files files;
  const vt::PreviewPicture p = vt::DecodePreview(files.Write("a.bmp", vtt::MakeBmp(640, 480, 0x20A040)),
                                                 vt::PreviewKind::Bmp, kBox, {}, {});
  EXPECT_EQ(p.place, (vt::Rect{0, 48, 150, 160}));
  ExpectMiddle(p.still, 0x20, 0xA0, 0x40);
}

TEST(PreviewDecode, GifFramesPlayInTurn) {
  Files files;
  const std::string path = files.Write("two.gif", vtt::MakeGif(100, 100, {{0, 20}, {2, 0}}));
  const vt::PreviewPicture p = vt::DecodePreview(path, vt::PreviewKind::Gif, kBox, {}, {});
  ASSERT_TRUE(p.animation);
  EXPECT_EQ(p.place, (vt::Rect{25, 54, 125, 154}));
  vt::GifCompositor play(*p.animation);
  EXPECT_EQ(play.Advance(), 200u);
  ExpectMiddle(play.Canvas(), 255, 0, 0);
  EXPECT_EQ(play.Advance(), vt::kZeroDelayMs);
  ExpectMiddle(play.Canvas(), 0, 0, 255);
  EXPECT_EQ(play.Advance(), 200u);  // loops forever
}

// Records the generations the worker announces to its window.
std::vector<WPARAM> g_announced;
LRESULT CALLBACK Receiver(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == kReady) g_announced.push_back(wp);
  return DefWindowProcA(w, m, wp, lp);
}

TEST(PreviewWorker, OnlyTheNewestRequestIsDelivered) {
  Files files;
  const std::string big = files.Write("big.jpg", vtt::MakeJpeg(4000, 3000, 0xC04040));
  const std::string small = files.Write("small.gif", vtt::MakeGif(10, 10, {{1, 10}}));
  WNDCLASSA wc{};
  wc.lpfnWndProc = Receiver;
  wc.lpszClassName = "VtPreviewReceiver";
  RegisterClassA(&wc);
  HWND window = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  g_announced.clear();
  {
    vt::PreviewWorker worker(window, kReady);
    worker.Request(big, vt::PreviewKind::Jpeg, kBox, 1);
    worker.Request(small, vt::PreviewKind::Gif, kBox, 2);
    ASSERT_TRUE(vtt::WaitFor([&] { return !g_announced.empty(); }, 10000));
    vtt::Pump(300);  // time for a stale result to turn up, if one ever did
    EXPECT_EQ(g_announced, (std::vector<WPARAM>{2}));
    EXPECT_FALSE(worker.TakeResult(1));
    std::optional<vt::PreviewPicture> got = worker.TakeResult(2);
    ASSERT_TRUE(got);
    EXPECT_TRUE(got->animation);
    EXPECT_FALSE(worker.TakeResult(2));  // taken once

    worker.Request(big, vt::PreviewKind::Jpeg, kBox, 3);
    worker.Cancel(4);  // the selection moved to something without a picture
    vtt::Pump(1500);
    EXPECT_EQ(g_announced.size(), 1u);
    EXPECT_FALSE(worker.TakeResult(3));
  }
  DestroyWindow(window);
}

}  // namespace
