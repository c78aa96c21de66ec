// Numbers of every message between hook instances, the controller and panels, and the records
// they carry. 0x447 and 0x448 mean different things to different receivers; the receiving
// window decides. Payloads are only ever read through the decoders of protocol/CopyData.h.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vt {

inline constexpr char kControllerClass[] = "TVantrel";
inline constexpr std::uint32_t kIdentifyAnswer = 12345;

// To the controller's main window.
inline constexpr std::uint32_t VTM_RELEASEPANEL = 0x447;
inline constexpr std::uint32_t VTM_IDENTIFY = 0x448;
// The controller's own post: make the panels of attaches that had to wait. It carries
// nothing, so a forged one only makes them sooner.
inline constexpr std::uint32_t VTM_ATTACHLATER = 0x451;

// To an attached file dialog (answered inside the dialog's process).
inline constexpr std::uint32_t VTM_GETFOLDER = 0x446;
inline constexpr std::uint32_t VTM_GETWINDOWLONG = 0x447;
inline constexpr std::uint32_t VTM_SETWINDOWLONG = 0x448;

// The only indexes the panel reads and sets through those two messages: window styles.
inline constexpr std::int32_t kStyleIndex = -16;     // GWL_STYLE
inline constexpr std::int32_t kExStyleIndex = -20;   // GWL_EXSTYLE
constexpr bool IsStyleIndex(std::int32_t index) { return index == kStyleIndex || index == kExStyleIndex; }
// Two requests carried out inside the dialog's own thread, so that the panel never makes a
// call that waits on a program that may hang. VTM_GETWINDOWLONG with kMinimumSizeIndex: the
// dialog's minimum tracking size, width in the low word, height in the high word.
// VTM_SETWINDOWLONG with kEnableIndex (posted, lParam 0 or 1): enables or disables the dialog.
inline constexpr std::int32_t kMinimumSizeIndex = 0x5654;
inline constexpr std::int32_t kEnableIndex = 0x5655;

// A panel's own messages (same process). Anyone can post these numbers to a panel: each
// carries the panel's private key in lParam, and wParam is never a pointer.
inline constexpr std::uint32_t VTM_DIALOGMOVED = 0x449;
inline constexpr std::uint32_t VTM_PANELMOVED = 0x44A;
inline constexpr std::uint32_t VTM_OPTIONSCLOSED = 0x44B;
inline constexpr std::uint32_t VTM_NUDGEDIALOG = 0x44C;
inline constexpr std::uint32_t VTM_RESTOREDRAG = 0x450;
inline constexpr std::uint32_t VTM_DIALOGANSWERS = 0x44E;  // a dialog that did not answer does again
// From the hook library in the dialog's process, so without the key: "the dialog was enabled
// or disabled". It carries nothing; the panel looks at the dialog itself.
inline constexpr std::uint32_t VTM_DIALOGENABLED = 0x44F;
// From the panel's preview worker: wParam is only a request number, which finds the picture
// of the newest request and nothing else, so this one needs no key.
inline constexpr std::uint32_t VTM_PREVIEWREADY = 0x44D;

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

// WINDOWPOS as it crosses processes, the same 28 bytes in both builds: the two handles are
// 32-bit values (see Handle32.h), whatever the sender's bitness.
struct WindowPos32 {
  std::uint32_t Window;
  std::uint32_t InsertAfter;
  std::int32_t X, Y, Cx, Cy;
  std::uint32_t Flags;
};
inline constexpr std::uint32_t kWindowPosSize = 28;
static_assert(sizeof(WindowPos32) == kWindowPosSize);
static_assert(offsetof(WindowPos32, InsertAfter) == 4 && offsetof(WindowPos32, X) == 8 &&
              offsetof(WindowPos32, Cy) == 20 && offsetof(WindowPos32, Flags) == 24);
static_assert(offsetof(NotifyRecord, WParam) == 4 && offsetof(NotifyRecord, LParam) == 8);

}  // namespace vt
