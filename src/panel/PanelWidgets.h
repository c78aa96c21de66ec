// The plain child windows the panel is built from: a container that paints the button face
// and hands its children's notifications up to the form, and a splitter bar that reports its
// drag to the form only when the mouse is released.
#pragma once
#include <windows.h>

namespace vt {

inline constexpr char kContainerClass[] = "TQPanel";
inline constexpr char kSplitterClass[] = "TQSplitter";

// Sent to the top-level form when a splitter is released: wParam = splitter window,
// lParam = drag distance in pixels along the splitter's axis (signed).
inline constexpr UINT WM_VT_SPLITDONE = WM_APP + 0x21;

bool RegisterPanelWidgets(HINSTANCE instance);

// A container child; `border` draws a single-line border, `etched` an etched frame 4 pixels
// inside its edges (a bevel around what it holds).
HWND CreateContainer(HWND parent, bool border, bool etched = false);
// A splitter child; vertical bars move horizontally.
HWND CreateSplitter(HWND parent, bool vertical);

}  // namespace vt
