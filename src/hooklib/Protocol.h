// Numbers of every message that crosses between hook instances, the controller and panels.
// 0x447 and 0x448 mean different things to different receivers; the receiving window decides.
#pragma once
#include <cstdint>

namespace vt {

inline constexpr char kControllerClass[] = "TVantrel";
inline constexpr std::uint32_t kIdentifyAnswer = 12345;

// To the controller's main window.
inline constexpr std::uint32_t VTM_RELEASEPANEL = 0x447;
inline constexpr std::uint32_t VTM_IDENTIFY = 0x448;

// To an attached file dialog (answered inside the dialog's process).
inline constexpr std::uint32_t VTM_GETFOLDER = 0x446;
inline constexpr std::uint32_t VTM_GETWINDOWLONG = 0x447;
inline constexpr std::uint32_t VTM_SETWINDOWLONG = 0x448;

// A panel's own messages (same process).
inline constexpr std::uint32_t VTM_NAVWAIT = 0x448;
inline constexpr std::uint32_t VTM_DIALOGMOVED = 0x449;
inline constexpr std::uint32_t VTM_PANELMOVED = 0x44A;
inline constexpr std::uint32_t VTM_OPTIONSCLOSED = 0x44B;
inline constexpr std::uint32_t VTM_NUDGEDIALOG = 0x44C;
inline constexpr std::uint32_t VTM_RESTOREDRAG = 0x450;

// WM_COPYDATA kinds (dwData).
inline constexpr std::uint32_t VTCD_ATTACH = 1;     // hook -> controller
inline constexpr std::uint32_t VTCD_PROGRAM = 2;    // hook -> controller
inline constexpr std::uint32_t VTCD_OPENITEM = 1;   // panel -> dialog
inline constexpr std::uint32_t VTCD_FOLDER = 0xFFFFFFFFu;  // dialog -> panel
// Notifications dialog -> panel carry the message number the dialog received.
inline constexpr std::uint32_t VTCD_POSCHANGING = 0x46;
inline constexpr std::uint32_t VTCD_SHOW = 0x18;
inline constexpr std::uint32_t VTCD_DESTROY = 0x02;
inline constexpr std::uint32_t VTCD_CLOSE = 0x10;
inline constexpr std::uint32_t VTCD_NCACTIVATE = 0x86;
inline constexpr std::uint32_t VTCD_SETTEXT = 0x0C;

// Running-program query: WM_NULL with this wParam, posted to every top-level window.
inline constexpr std::uint32_t kProgramQueryParam = 123;

// The 16-byte record carried by the notifications 0x02, 0x10, 0x18 and 0x86.
struct NotifyRecord {
  std::uint32_t Message;
  std::uint32_t WParam;
  std::uint32_t LParam;
  std::uint32_t Reserved;
};
static_assert(sizeof(NotifyRecord) == 16);

inline constexpr std::uint32_t kWindowPosSize = 28;  // WINDOWPOS on 32-bit Windows

}  // namespace vt
