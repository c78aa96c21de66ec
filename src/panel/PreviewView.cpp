#include "panel/PreviewView.h"

#include "panel/PreviewFit.h"
#include "panel/PreviewPaint.h"
#include "util/Handles.h"

namespace vt {

namespace {
constexpr UINT_PTR kFrameTimer = 1;
}  // namespace

bool PreviewView::Register() { return RegisterWindowClass(kPreviewViewClass, 0, nullptr); }

std::unique_ptr<PreviewView> PreviewView::Create(HWND parent) {
  std::unique_ptr<PreviewView> v(new PreviewView);
  if (!v->CreateWindowOf(0, kPreviewViewClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                         nullptr))
    return nullptr;
  v->FillParent();
  return v;
}

Size PreviewView::Area() const {
  RECT c{};
  GetClientRect(Handle(), &c);
  return Size{c.right, c.bottom};
}

void PreviewView::FillParent() {
  RECT c{};
  GetClientRect(GetParent(Handle()), &c);
  MoveWindow(Handle(), 0, 0, c.right, c.bottom, TRUE);
}

void PreviewView::Clear() {
  KillTimer(Handle(), kFrameTimer);
  const bool wasEmpty = Empty();
  player_.reset();
  animation_.reset();
  still_ = PixelImage{};
  if (!wasEmpty) InvalidateRect(Handle(), nullptr, FALSE);
}

void PreviewView::ShowStill(PixelImage picture, Size imageSize) {
  Clear();
  still_ = std::move(picture);
  stillImageSize_ = imageSize;
  InvalidateRect(Handle(), nullptr, FALSE);
}

void PreviewView::ShowAnimation(std::shared_ptr<const GifImage> image) {
  Clear();
  if (!image || image->Empty()) return;
  animation_ = std::move(image);
  player_.emplace(*animation_);
  NextFrame();
}

void PreviewView::NextFrame() {
  if (!player_) return;
  const std::uint32_t stay = player_->Advance();
  InvalidateRect(Handle(), nullptr, FALSE);
  // A single frame, or the last pass shown: the canvas stays, no timer runs.
  if (stay && animation_->frames.size() > 1) SetTimer(Handle(), kFrameTimer, stay, nullptr);
  else KillTimer(Handle(), kFrameTimer);
}

void PreviewView::Paint(HDC dc) const {
  const Size area = Area();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  RECT all{0, 0, area.width, area.height};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  if (player_) {
    DrawPicture(dc, FitGifPreview(Size{animation_->width, animation_->height}, area), player_->Canvas(), face);
  } else if (!still_.Empty()) {
    // Decoded for the area it was asked for; a resize since then only moves or rescales it.
    DrawPicture(dc, FitStillPicture(stillImageSize_, area), still_, face);
  }
}

LRESULT PreviewView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // Paint covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      const Size area = Area();
      UniqueMemoryDc memory(CreateCompatibleDC(dc));
      UniqueBitmap canvas(area.width > 0 && area.height > 0 ? CreateCompatibleBitmap(dc, area.width, area.height)
                                                            : nullptr);
      if (memory && canvas) {
        Selected picked(memory.get(), canvas.get());
        Paint(memory.get());
        BitBlt(dc, 0, 0, area.width, area.height, memory.get(), 0, 0, SRCCOPY);
      } else {
        Paint(dc);
      }
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_SIZE:
      InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_TIMER:
      if (wParam == kFrameTimer) NextFrame();
      return 0;
    case WM_DESTROY:
      KillTimer(Handle(), kFrameTimer);
      break;
  }
  return Default(msg, wParam, lParam);
}

}  // namespace vt
