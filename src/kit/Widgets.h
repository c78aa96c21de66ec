// The plain child windows the panel is built from: a container that paints the button face
// and hands its children's notifications up to the form, and a splitter bar that reports its
// drag to the form only when the mouse is released. Their owner keeps the objects.
#pragma once
#include <windows.h>

#include <memory>

#include "kit/Window.h"

namespace vt {

inline constexpr char kContainerClass[] = "TQPanel";
inline constexpr char kSplitterClass[] = "TQSplitter";

// Sent to the top-level form when a splitter is released: wParam = splitter window,
// lParam = drag distance in pixels along the splitter's axis (signed).
inline constexpr UINT WM_VT_SPLITDONE = WM_APP + 0x21;

class Container final : public Window {
 public:
  static bool Register();
  // `border` draws a single-line border, `etched` an etched frame 4 pixels inside its edges.
  static std::unique_ptr<Container> Create(HWND parent, bool border, bool etched = false);

 private:
  Container() = default;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool etched_ = false;
};

class Splitter final : public Window {
 public:
  static bool Register();
  // Vertical bars move horizontally.
  static std::unique_ptr<Splitter> Create(HWND parent, bool vertical);

 private:
  Splitter() = default;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool vertical_ = true;
  bool dragging_ = false;
  POINT start_{};
};

bool RegisterWidgets();

}  // namespace vt
