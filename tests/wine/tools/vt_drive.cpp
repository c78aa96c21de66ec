// Drives the test program for the main job, from outside as a user would:
//   vt_drive controller [ms]   waits until the resident program's window exists
//   vt_drive testvt [ms]       waits until a test dialog ("Test Vantrel") shows
//   vt_drive open [ms]         presses the test dialog's button, waits for its Open dialog and
//                              says whether a companion panel took it
//   vt_drive show DIR FILE [ms]  takes the Open dialog to DIR through its own file-name box and
//                              selects FILE in its list, as a user's click would
// Exit codes: 0 done, 1 bad arguments, 2 no resident program, 3 no test dialog, 4 no Open dialog,
// 5 no such file shown.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "settings/Product.h"
#include "protocol/Messages.h"
#include "protocol/SharedBlock.h"
#include "protocol/Handle32.h"

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
    const auto handle = vt::Handle32(dialog);
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

// The list's items live in the dialog's process: records and texts go through memory there.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, SIZE_T size)
      : process_(process), at_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteBuffer() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  void* at() const { return at_; }
  template <typename T>
  T* as(SIZE_T offset = 0) const { return reinterpret_cast<T*>(static_cast<char*>(at_) + offset); }

 private:
  HANDLE process_;
  void* at_;
};

int IndexOfText(HWND list, HANDLE process, const char* name) {
  constexpr SIZE_T kText = 512;
  RemoteBuffer remote(process, sizeof(LVITEMA) + kText);
  if (!remote.at()) return -1;
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = remote.as<char>(sizeof(LVITEMA));
    item.cchTextMax = kText;
    WriteProcessMemory(process, remote.at(), &item, sizeof item, nullptr);
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote.at()));
    char text[kText] = {};
    ReadProcessMemory(process, item.pszText, text, kText - 1, nullptr);
    // The list may hide known extensions: "photo" stands for "photo.jpg" too.
    const std::size_t n = std::strlen(text);
    if (_stricmp(text, name) == 0 || (n && _strnicmp(text, name, n) == 0 && name[n] == '.')) return i;
  }
  return -1;
}

HWND FileList(HWND dialog) {
  HWND view = FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr);
  return view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
}

int ShowFile(const char* folder, const char* name, DWORD ms) {
  HWND test = FindTopDialog("Test Vantrel", nullptr);
  HWND open = test ? FindTopDialog("Open File", test) : nullptr;
  if (!open) {
    std::printf("vt_drive: no \"Open File\" dialog\n");
    return 4;
  }
  // The dialog's own way: a folder typed into its file-name box, then its Open command.
  HWND box = FindWindowExA(open, nullptr, "ComboBoxEx32", nullptr);
  HWND edit = box ? FindWindowExA(FindWindowExA(box, nullptr, "ComboBox", nullptr), nullptr, "Edit", nullptr) : nullptr;
  if (!edit) edit = FindWindowExA(open, nullptr, "Edit", nullptr);
  if (!edit) return 4;
  SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder), SMTO_ABORTIFHUNG, 2000, nullptr);
  PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  DWORD pid = 0;
  GetWindowThreadProcessId(open, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return 4;
  int index = -1;
  HWND list = nullptr;
  WaitUntil([&] { return (list = FileList(open)) && (index = IndexOfText(list, process, name)) >= 0; }, ms);
  if (index >= 0) {
    RemoteBuffer remote(process, sizeof(LVITEMA));
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    WriteProcessMemory(process, remote.at(), &item, sizeof item, nullptr);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote.at()));
    std::printf("vt_drive: %s selected in %s\n", name, folder);
  } else {
    std::printf("vt_drive: %s did not show in %s within %lu ms\n", name, folder, ms);
  }
  CloseHandle(process);
  return index >= 0 ? 0 : 5;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: vt_drive controller|testvt|open [wait-ms] | show DIR FILE [wait-ms]\n");
    return 1;
  }
  if (std::strcmp(argv[1], "show") == 0) {
    if (argc < 4) return 1;
    const int rc = ShowFile(argv[2], argv[3], argc > 4 ? std::strtoul(argv[4], nullptr, 10) : 20000);
    std::fflush(stdout);
    return rc;
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
