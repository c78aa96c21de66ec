// What the hook tests and their dialog client agree on: the client's owner window, the
// commands the tests send it (WM_COPYDATA, dwData = command) and the probe block the client
// publishes under its process id. Only plain data crosses: no pointers.
#pragma once
#include <cstdint>

namespace vth {

inline constexpr char kClientClass[] = "VtHookClient";
inline constexpr char kProbePrefix[] = "VtHookProbe.";  // + the client's process id in decimal
inline constexpr std::uint32_t kProbeMagic = 0x564B5048;  // "HPKV"

enum Command : std::uint32_t {
  // Payload: item texts separated by NUL. Selects exactly those items of the dialog's list
  // view. Result: selected count, -1 without a list view.
  kCmdSelect = 0x5601,
  // CDM_GETFOLDERIDLIST into Data. Result: the size the dialog reported.
  kCmdFolderIdList = 0x5602,
  // CDM_GETFOLDERPATH into Data. Result: the dialog's answer.
  kCmdFolderPath = 0x5603,
  // Payload: a MINMAXINFO; sent to the dialog, the answered record lands in Data.
  kCmdMinMax = 0x5604,
  // Payload: a RECT proposed with WM_MOVING; the answered RECT lands in Data. Result: the
  // message result.
  kCmdMoving = 0x5605,
  // Malformed WM_COPYDATA sent to the dialog from inside its own process (null records,
  // texts that end at an unreadable page). Data: one 32-bit result per case.
  kCmdHostile = 0x5606,
  // Texts of the list view's items, separated by NUL, into Data. Result: item count.
  kCmdItemTexts = 0x5607,
  // Payload: a text, or nothing for a null text; WM_SETTEXT to the file-name box from inside
  // the process. Result: the message result.
  kCmdSetText = 0x5608,
  // VTM_GETFOLDER sent from inside the process while the folder box's current entry holds a
  // damaged record (see kDamagedFolderCases); the dialog's own record is put back before the
  // handler returns, so the dialog never draws with it. Data: one 32-bit result per case.
  kCmdDamagedFolder = 0x5609,
};

inline constexpr int kHostileCases = 9;
// No record; a list address that cannot be read; a list running into an unreadable page; an
// item of size 1; a record whose list field lies in an unreadable page.
inline constexpr int kDamagedFolderCases = 5;

// Messages that reached the dialog's own procedure behind the hook library (--probe only).
enum Seen : int {
  kSeenNcPaint,
  kSeenMinimized,   // WM_SIZE with SIZE_MINIMIZED
  kSeenGetFolder,   // 0x446
  kSeenGetLong,     // 0x447
  kSeenSetLong,     // 0x448
  kSeenCopyData,
  kSeenMoving,
  kSeenSeenCount
};

struct ProbeBlock {
  std::uint32_t Magic;
  std::uint32_t Dialog;      // the dialog shown last
  std::int64_t ShowStamp;    // QueryPerformanceCounter at that dialog's first show message
  std::uint32_t Shows;       // dialogs shown so far
  std::uint32_t OwnProc[16]; // indexed by Seen
  std::uint32_t DataSize;
  std::uint8_t Data[8192];
};

// The benchmark's message-rate client (hook_rate_client.exe): a window of this class; a
// posted kRateMeasure (wParam = milliseconds per kind) makes it measure and send a
// RateReport (WM_COPYDATA, dwData kRateReport) to the window named on its command line.
inline constexpr char kRateClass[] = "VtHookRate";
inline constexpr unsigned kRateMeasure = 0x8000 + 1;  // WM_APP + 1
inline constexpr unsigned kRateQuit = 0x8000 + 2;
inline constexpr std::uint32_t kRateReport = 0x52415445;

struct RateReport {
  double sentPerSecond;    // SendMessageA to its own window within its thread
  double postedPerSecond;  // PostMessageA + GetMessageA + DispatchMessageA
  std::uint32_t sent;
  std::uint32_t posted;
};

}  // namespace vth
