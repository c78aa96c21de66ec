// Benchmark of the preview pane's decoding (prints figures; not a test):
//  1. a 6000 x 4000 JPEG decoded at full scale against the DCT scale chosen for the pane;
//  2. through the worker, from the request to the first and to the final picture, for a
//     640 x 480 JPEG, the 24 MP photo without and with an Exif thumbnail, and a 100-frame GIF;
//     and the longest the requesting (UI) thread was held by a worker call or by drawing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "kit/JpegDecoder.h"
#include "panel/PreviewFit.h"
#include "panel/PreviewPaint.h"
#include "panel/PreviewWorker.h"
#include "support/PictureFiles.h"

namespace {

constexpr vt::Size kBox{150, 209};

double Now() {
  static LARGE_INTEGER f = [] {
    LARGE_INTEGER v;
    QueryPerformanceFrequency(&v);
    return v;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double DecodeMs(const vtt::Bytes& jpeg, int scale, int rounds) {
  std::vector<double> t;
  for (int i = 0; i < rounds; ++i) {
    vt::PixelImage out;
    const double a = Now();
    if (!vt::DecodeJpeg(jpeg.data(), jpeg.size(), scale, out)) return -1;
    t.push_back(Now() - a);
  }
  return Median(t);
}

struct Timing {
  double first = -1, final = -1, longestBlock = 0;
};

// One request through the worker, as the panel makes it: request, wait for the message, take,
// draw. Only the calls on this thread count as blocking it.
Timing Through(vt::PreviewWorker& worker, HWND window, const std::string& path, vt::PreviewKind kind,
               std::uint32_t generation) {
  Timing t;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, kBox.width, kBox.height);
  HGDIOBJ old = SelectObject(dc, target);
  const double start = Now();
  worker.Request(path, kind, kBox, generation);
  t.longestBlock = Now() - start;
  while (t.final < 0 && Now() - start < 60000) {
    MSG m;
    if (!GetMessageA(&m, window, 0, 0)) break;
    if (m.message != WM_APP + 1 || m.wParam != generation) continue;
    const double a = Now();
    std::optional<vt::PreviewPicture> p = worker.TakeResult(generation);
    if (p) {
      if (p->animation) {
        vt::GifCompositor play(*p->animation);
        play.Advance();
        vt::DrawPicture(dc, p->place, play.Canvas(), RGB(255, 255, 255));
      } else {
        vt::DrawPicture(dc, p->place, p->still, RGB(255, 255, 255));
      }
    }
    const double b = Now();
    t.longestBlock = std::max(t.longestBlock, b - a);
    if (p && t.first < 0) t.first = b - start;
    if (p && p->final) t.final = b - start;
  }
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return t;
}

}  // namespace

int main() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string dir = temp;
  std::printf("making pictures...\n");
  std::fflush(stdout);
  const vtt::Bytes photo = vtt::MakeJpeg(6000, 4000, 0xA08060);
  const vtt::Bytes thumb = vtt::MakeJpeg(160, 120, 0xA08060);
  const std::string small = dir + "vtb_small.jpg", big = dir + "vtb_big.jpg", exif = dir + "vtb_exif.jpg",
                    gif = dir + "vtb_anim.gif";
  std::vector<vtt::GifFrameSpec> frames;
  for (int i = 0; i < 100; ++i) frames.push_back({i % 4, 5});
  if (!vtt::WriteBytes(small, vtt::MakeJpeg(640, 480, 0xA08060)) || !vtt::WriteBytes(big, photo) ||
      !vtt::WriteBytes(exif, vtt::WithExifThumbnail(photo, thumb)) || !vtt::WriteBytes(gif, vtt::MakeGif(320, 240, frames)))
    return 1;

  const int scale = vt::ChooseJpegScale({6000, 4000}, kBox);
  std::printf("6000 x 4000 JPEG (%u bytes), medians of 3: full scale %.1f ms, %d/8 (chosen for %d x %d) %.1f ms\n",
              static_cast<unsigned>(photo.size()), DecodeMs(photo, 8, 3), scale, kBox.width, kBox.height,
              DecodeMs(photo, scale, 3));

  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "VtPreviewBench";
  RegisterClassA(&wc);
  HWND window = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  vt::PreviewWorker worker(window, WM_APP + 1);
  struct Case {
    const char* name;
    std::string path;
    vt::PreviewKind kind;
  } cases[] = {{"640 x 480 JPEG", small, vt::PreviewKind::Jpeg},
               {"6000 x 4000 JPEG", big, vt::PreviewKind::Jpeg},
               {"6000 x 4000 JPEG + Exif thumbnail", exif, vt::PreviewKind::Jpeg},
               {"320 x 240 GIF, 100 frames", gif, vt::PreviewKind::Gif}};
  std::uint32_t generation = 0;
  for (const Case& c : cases) {
    std::vector<double> first, final, block;
    for (int i = 0; i < 5; ++i) {
      const Timing t = Through(worker, window, c.path, c.kind, ++generation);
      first.push_back(t.first);
      final.push_back(t.final);
      block.push_back(t.longestBlock);
    }
    std::printf("%-36s first picture %7.1f ms, final %7.1f ms, longest UI block %5.2f ms (medians of 5; worst block %.2f)\n",
                c.name, Median(first), Median(final), Median(block), *std::max_element(block.begin(), block.end()));
  }
  for (const std::string& f : {small, big, exif, gif}) DeleteFileA(f.c_str());
  return 0;
}
