// The picture area of the preview pane: one child window filling `pnPreview` that shows either
// a still picture (`Imp`: centred, proportional, never enlarged) or a GIF animation (`GIFp`:
// frames drawn at the size FitGifPreview gives, played by the compositor on the window's own
// timer). Drawing goes through a memory bitmap so that frames never flicker.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>

#include "kit/GifAnimation.h"
#include "kit/PixelImage.h"
#include "kit/Rect.h"
#include "kit/Window.h"

namespace vt {

inline constexpr char kPreviewViewClass[] = "TQPreviewView";

class PreviewView final : public Window {
 public:
  static bool Register();
  static std::unique_ptr<PreviewView> Create(HWND parent);

  // A still picture of the whole image's size `imageSize`, decoded at the size of its place.
  void ShowStill(PixelImage picture, Size imageSize);
  void ShowAnimation(std::shared_ptr<const GifImage> image);
  void Clear();
  bool Empty() const { return still_.Empty() && !animation_; }
  // Fills the parent; the animation is fitted again to the new size.
  void FillParent();
  Size Area() const;

 private:
  PreviewView() = default;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc) const;
  void NextFrame();

  PixelImage still_;
  Size stillImageSize_;
  std::shared_ptr<const GifImage> animation_;
  std::optional<GifCompositor> player_;  // borrows *animation_
};

}  // namespace vt
