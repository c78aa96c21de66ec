// TQBitBtn: a push button with an optional picture beside its caption, whose caption turns
// blue while the mouse is over it and which can clip itself to a capsule outline. It is a
// standard button with its painting and mouse tracking taken over (a subclass, not a window
// class of its own), so it behaves as a button towards its parent and the keyboard.
#pragma once
#include <windows.h>

#include <memory>

#include "util/Handles.h"

namespace vt {

class TQBitBtn {
 public:
  static constexpr COLORREF kHoverCaption = 0x00FF0000;  // pure blue
  static constexpr COLORREF kCaption = 0x00000000;

  // A visible child button with this control id; null when the window cannot be made. The
  // picture, when given, becomes the button's.
  static std::unique_ptr<TQBitBtn> Create(HWND parent, int id, const char* caption, int x, int y, int width,
                                          int height, HBITMAP glyph = nullptr);
  ~TQBitBtn();
  TQBitBtn(const TQBitBtn&) = delete;
  TQBitBtn& operator=(const TQBitBtn&) = delete;

  HWND Handle() const { return window_; }
  bool Round() const { return round_; }
  // Rebuilds the outline at once, through the same size message a resize sends.
  void SetRound(bool round);
  COLORREF CaptionColour() const { return caption_; }

 private:
  TQBitBtn() = default;
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void Outline();
  void Paint(HDC dc);
  void Redraw();

  HWND window_ = nullptr;
  bool round_ = false;
  bool inside_ = false;
  COLORREF caption_ = kCaption;
  UniqueBitmap glyph_;
};

}  // namespace vt
