// Drives the test program for the main job, from outside as a user would:
//   vt_drive controller [ms]   waits until the resident program's window exists
//   vt_drive testvt [ms]       waits until a test dialog ("Test Vantrel") shows
//   vt_drive open [ms]         presses the test dialog's button, waits for its Open dialog and
//                              says whether a companion panel took it
// Exit codes: 0 done, 1 bad arguments, 2 no resident program, 3 no test dialog, 4 no Open dialog.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "settings/Product.h"
#include "protocol/Messages.h"
#include "protocol/SharedBlock.h"

namespace {

constexpr int kButtonId = 101;

template <typename Cond>
bool WaitUntil(Cond cond, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if (cond()) return true;
    if (GetTickCount() - start >= ms) return false;
    Sleep(50);
  }
}

struct Search {
  const char* caption;
  HWND owner;  // 0 = any
  HWND found;
};

BOOL CALLBACK FindDialog(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  char cls[64] = "", text[128] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(w)) return TRUE;
  if (s->owner && GetWindow(w, GW_OWNER) != s->owner) return TRUE;
  SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, nullptr);
  if (std::strcmp(text, s->caption) != 0) return TRUE;
  s->found = w;
  return FALSE;
}

HWND FindTopDialog(const char* caption, HWND owner) {
  Search s{caption, owner, nullptr};
  EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

int WaitController(DWORD ms) {
  HWND w = nullptr;
  // The caption is set by the last step of the start-up: from then on the program is resident.
  const std::string caption = vt::ProductCaption();
  if (!WaitUntil([&] { return (w = FindWindowA(vt::kControllerClass, caption.c_str())) != nullptr; }, ms)) {
    std::printf("vt_drive: the resident program's window did not appear within %lu ms\n", ms);
    return 2;
  }
  std::printf("vt_drive: resident program running (\"%s\")\n", caption.c_str());
  return 0;
}

int WaitTestDialog(DWORD ms) {
  if (!WaitUntil([&] { return FindTopDialog("Test Vantrel", nullptr) != nullptr; }, ms)) {
    std::printf("vt_drive: no \"Test Vantrel\" dialog within %lu ms\n", ms);
    return 3;
  }
  std::printf("vt_drive: test dialog shown\n");
  return 0;
}

int SlotOfDialog(HWND dialog) {
  HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, vt::kSharedBlockName);
  if (!mapping) return -1;
  int found = -1;
  const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, vt::kSharedBlockSize);
  if (view) {
    const auto* block = static_cast<const vt::SharedBlock*>(view);
    const auto handle = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(dialog));
    for (int i = 0; i < vt::kSlotCount && found < 0; ++i)
      if (block->Slots[i].PanelWindow && block->Slots[i].DialogWindow == handle) found = i;
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return found;
}

int OpenDialog(DWORD ms) {
  HWND test = nullptr;
  if (!WaitUntil([&] { return (test = FindTopDialog("Test Vantrel", nullptr)) != nullptr; }, ms)) {
    std::printf("vt_drive: no \"Test Vantrel\" dialog within %lu ms\n", ms);
    return 3;
  }
  std::printf("vt_drive: pressing \"Open File Dialog\"\n");
  PostMessageA(test, WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED), 0);
  HWND open = nullptr;
  if (!WaitUntil([&] { return (open = FindTopDialog("Open File", test)) != nullptr; }, ms)) {
    std::printf("vt_drive: the \"Open File\" dialog did not appear within %lu ms\n", ms);
    return 4;
  }
  std::printf("vt_drive: \"Open File\" dialog shown\n");
  int slot = -1;
  if (WaitUntil([&] { return (slot = SlotOfDialog(open)) >= 0; }, 3000))
    std::printf("vt_drive: companion panel attached (slot %d)\n", slot);
  else
    std::printf("vt_drive: no companion panel attached to it\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: vt_drive controller|testvt|open [wait-ms]\n");
    return 1;
  }
  DWORD ms = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 20000;
  int rc = 1;
  if (std::strcmp(argv[1], "controller") == 0)
    rc = WaitController(ms);
  else if (std::strcmp(argv[1], "testvt") == 0)
    rc = WaitTestDialog(ms);
  else if (std::strcmp(argv[1], "open") == 0)
    rc = OpenDialog(ms);
  else
    std::printf("usage: vt_drive controller|testvt|open [wait-ms]\n");
  std::fflush(stdout);
  return rc;
}
