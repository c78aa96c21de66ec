// The named block every participant maps: the controller creates it, each hook instance
// opens it, panels keep their dialog's slot current. One definition, checked at compile time.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vt {

inline constexpr char kSharedBlockName[] = "VantrelSharedVars";
inline constexpr std::uint32_t kSharedBlockSize = 0x19400;
inline constexpr int kSlotCount = 10;
inline constexpr int kIgnoreEntries = 50;
inline constexpr int kIgnoreEntrySize = 80;
inline constexpr int kIgnoreNameMax = kIgnoreEntrySize - 1;

// Slot states.
inline constexpr std::uint8_t kSlotCreating = 0;
inline constexpr std::uint8_t kSlotActive = 1;
inline constexpr std::uint8_t kSlotClosing = 2;

// MoveGuard values.
inline constexpr std::uint8_t kGuardIdle = 0;
inline constexpr std::uint8_t kGuardPanelMovesDialog = 1;
inline constexpr std::uint8_t kGuardPanelFollows = 2;

// One layout for every build that maps the block, 32-bit and 64-bit alike: fixed-width
// fields only, window handles as their 32 significant bits (protocol/Handle32.h).
struct DialogSlot {
  std::uint32_t PanelObject;   // the controller's number for the panel, never an address
  std::uint32_t PanelWindow;   // 0 = slot free
  std::uint32_t DialogWindow;
  std::uint16_t MaxWidth;
  std::uint16_t MaxHeight;
  std::uint16_t MinWidth;
  std::uint16_t MinHeight;
  std::uint8_t State;
  std::uint8_t MoveGuard;
  std::uint8_t CatchFileNameText;
  std::uint8_t Reserved[13];   // cleared on claim
  std::uint32_t Reserved2;     // never written after start-up
};

struct SharedBlock {
  DialogSlot Slots[kSlotCount];
  std::uint8_t Reserved1[3200];
  std::uint32_t ShowErrors;
  std::uint32_t NoAttachVTR;
  std::uint32_t GetMessageHook;
  std::uint32_t CallWndRetHook;
  // The controller's tick count, written at every message its windows handle and every half
  // second by its watch timer (0: not yet): a stale one tells a hook instance that the
  // controller's thread does not answer.
  std::uint32_t ControllerStamp;
  std::uint8_t Reserved2[380];
  char IgnoreList[kIgnoreEntries][kIgnoreEntrySize];
  std::uint8_t Reserved3[95424];
};

// Bytes of a slot that a claim clears (everything but the last reserved word).
inline constexpr std::size_t kSlotClearedBytes = 36;

static_assert(sizeof(DialogSlot) == 40);
static_assert(offsetof(DialogSlot, PanelWindow) == 4);
static_assert(offsetof(DialogSlot, DialogWindow) == 8);
static_assert(offsetof(DialogSlot, MaxWidth) == 12);
static_assert(offsetof(DialogSlot, MaxHeight) == 14);
static_assert(offsetof(DialogSlot, MinWidth) == 16);
static_assert(offsetof(DialogSlot, MinHeight) == 18);
static_assert(offsetof(DialogSlot, State) == 20);
static_assert(offsetof(DialogSlot, MoveGuard) == 21);
static_assert(offsetof(DialogSlot, CatchFileNameText) == 22);
static_assert(offsetof(DialogSlot, Reserved2) == 36);
static_assert(offsetof(SharedBlock, Slots) == 0);
static_assert(offsetof(SharedBlock, ShowErrors) == 3600);
static_assert(offsetof(SharedBlock, NoAttachVTR) == 3604);
static_assert(offsetof(SharedBlock, GetMessageHook) == 3608);
static_assert(offsetof(SharedBlock, CallWndRetHook) == 3612);
static_assert(offsetof(SharedBlock, ControllerStamp) == 3616);
static_assert(offsetof(SharedBlock, IgnoreList) == 4000);
static_assert(sizeof(SharedBlock) == kSharedBlockSize);

}  // namespace vt
