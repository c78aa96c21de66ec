// A program that shows real standard Open dialogs, like TestVT, so that the hook tests can
// watch the hook library attach them. Options:
//   --folder PATH   initial folder of the dialog
//   --title TEXT    dialog caption (default "Hook Test Open")
//   --shows N       number of dialogs shown one after the other (default 1)
//   --probe         put a counting procedure in front of each dialog before it is shown, so
//                   that the tests see which messages reach the dialog's own procedure
//   --multi         allow several files to be selected (OFN_ALLOWMULTISELECT)
//   --fakes A,B,..  instead of Open dialogs, show windows that only look like one to a child
//                   count: each shape is [x]L<n>C<n>B<n>S<n> (ListBox, ComboBox, Button and
//                   Static children; a leading x gives a window class other than "#32770");
//                   the shape is the window's caption. A shape W is a "#32770" with the item
//                   dialog's Windows layout instead (DUIViewWndClassName > DirectUIHWND >
//                   FloatNotifySink > ComboBox > Edit), Wn the same without its ComboBox.
//                   Runs until it is ended.
//   --parent PID    end when that process ends, so that an aborted test leaves no dialog
// It publishes a probe block (ClientProtocol.h) and answers the tests' commands on its
// hidden owner window. Exit code 0 after the last dialog closed.
#include <windows.h>
#include <commdlg.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../hook/ClientProtocol.h"
#include "protocol/Handle32.h"

namespace {

vth::ProbeBlock* g_probe = nullptr;
HWND g_owner = nullptr;
bool g_countOwnProc = false;
const char kOrigProp[] = "VtHookClientOrig";

bool IsOurDialog(HWND w) {
  if (GetWindow(w, GW_OWNER) != g_owner) return false;
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  return std::strcmp(cls, "#32770") == 0;
}

HWND CurrentDialog() {
  HWND d = vt::FromHandle32<HWND>(g_probe->Dialog);
  return IsWindow(d) ? d : nullptr;
}

HWND ListViewOf(HWND dialog) {
  HWND view = FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr);
  return view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
}

HWND FileNameEditOf(HWND dialog) {
  HWND ex = FindWindowExA(dialog, nullptr, "ComboBoxEx32", nullptr);
  HWND combo = ex ? FindWindowExA(ex, nullptr, "ComboBox", nullptr) : nullptr;
  return combo ? FindWindowExA(combo, nullptr, "Edit", nullptr) : FindWindowExA(dialog, nullptr, "Edit", nullptr);
}

void Count(int index) {
  if (g_probe) InterlockedIncrement(reinterpret_cast<LONG*>(&g_probe->OwnProc[index]));
}

LRESULT CALLBACK CountingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_NCPAINT: Count(vth::kSeenNcPaint); break;
    case WM_SIZE: if (wp == SIZE_MINIMIZED) Count(vth::kSeenMinimized); break;
    case 0x446: Count(vth::kSeenGetFolder); break;
    case 0x447: Count(vth::kSeenGetLong); break;
    case 0x448: Count(vth::kSeenSetLong); break;
    case WM_COPYDATA: Count(vth::kSeenCopyData); break;
    case WM_MOVING: Count(vth::kSeenMoving); break;
    default: break;
  }
  auto orig = reinterpret_cast<WNDPROC>(GetPropA(w, kOrigProp));
  LRESULT r = orig ? CallWindowProcA(orig, w, m, wp, lp) : DefWindowProcA(w, m, wp, lp);
  if (m == WM_NCDESTROY) RemovePropA(w, kOrigProp);
  return r;
}

// Stamps the first show of each dialog before any procedure sees it, and puts the counting
// procedure in front of the dialog's own one before the hook library can attach.
LRESULT CALLBACK WatchProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lp);
    bool show = (cwp->message == WM_SHOWWINDOW && cwp->wParam) ||
                (cwp->message == WM_WINDOWPOSCHANGING &&
                 (reinterpret_cast<const WINDOWPOS*>(cwp->lParam)->flags & SWP_SHOWWINDOW));
    if (show) {
      LARGE_INTEGER now;
      QueryPerformanceCounter(&now);
      HWND w = cwp->hwnd;
      if (g_probe && g_probe->Dialog != vt::Handle32(w) && IsOurDialog(w)) {
        g_probe->ShowStamp = now.QuadPart;
        g_probe->Dialog = vt::Handle32(w);
        InterlockedIncrement(reinterpret_cast<LONG*>(&g_probe->Shows));
      }
    }
    if (g_countOwnProc && !GetPropA(cwp->hwnd, kOrigProp) && IsOurDialog(cwp->hwnd)) {
      LONG_PTR orig = SetWindowLongPtrA(cwp->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc));
      SetPropA(cwp->hwnd, kOrigProp, reinterpret_cast<HANDLE>(orig));
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

void PutData(const void* data, std::size_t size) {
  if (size > sizeof g_probe->Data) size = sizeof g_probe->Data;
  if (size) std::memcpy(g_probe->Data, data, size);
  g_probe->DataSize = static_cast<std::uint32_t>(size);
}

std::string ItemText(HWND list, int i) {
  char buf[1024] = {};
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = i;
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
  return buf;
}

LRESULT SelectItems(HWND dialog, const char* names, std::size_t size) {
  HWND list = ListViewOf(dialog);
  if (!list) return -1;
  std::vector<std::string> wanted;
  for (std::size_t at = 0; at < size;) {
    std::size_t len = strnlen(names + at, size - at);
    if (len) wanted.emplace_back(names + at, len);
    at += len + 1;
  }
  LVITEMA clear{};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
  int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::string t = ItemText(list, i);
    for (const std::string& w : wanted) {
      if (t != w) continue;
      LVITEMA set{};
      set.state = set.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
      SendMessageA(list, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&set));
    }
  }
  return SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0);
}

LRESULT ItemTexts(HWND dialog) {
  HWND list = ListViewOf(dialog);
  if (!list) return -1;
  std::string all;
  int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    all += ItemText(list, i);
    all.push_back('\0');
  }
  PutData(all.data(), all.size());
  return count;
}

// Each case hands the dialog a record that a careless reader would follow out of bounds:
// every byte that the record names ends where a page that cannot be read begins, so a read
// past cbData (or any read of a record that names no bytes) ends the process.
LRESULT Hostile(HWND dialog) {
  SYSTEM_INFO si;
  GetSystemInfo(&si);
  DWORD page = si.dwPageSize;
  auto* base = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  if (!base) return 0;
  DWORD old = 0;
  VirtualProtect(base + page, page, PAGE_NOACCESS, &old);
  char* end = base + page;
  std::memcpy(end - 4, "abcd", 4);  // a text without its NUL
  end[-5] = '\0';
  std::int32_t results[vth::kHostileCases] = {};
  COPYDATASTRUCT cds{};
  auto send = [&](int i, ULONG_PTR kind, DWORD size, void* data, bool nullRecord) {
    cds.dwData = kind;
    cds.cbData = size;
    cds.lpData = data;
    LPARAM record = nullRecord ? 0 : reinterpret_cast<LPARAM>(&cds);
    results[i] = static_cast<std::int32_t>(SendMessageA(dialog, WM_COPYDATA, reinterpret_cast<WPARAM>(g_owner), record));
  };
  send(0, 1, 0, nullptr, true);         // no record at all
  send(1, 1, 100, nullptr, false);      // a size but no data
  send(2, 1, 4, end - 4, false);        // a text without its NUL
  send(3, 1, 0, end, false);            // size 0: nothing may be read
  send(4, 2, 4, end - 4, false);        // kinds the dialog does not take, short records
  send(5, 0xFFFFFFFF, 4, end - 4, false);
  send(6, 0x46, 4, end - 4, false);
  send(7, 1, 1, end - 5, false);        // the empty text, properly terminated
  std::memcpy(end - 4, "\xFF\x7F\x02\x00", 4);
  send(8, 0xFFFFFFFF, 4, end - 4, false);  // an identifier list whose first item runs past the page
  VirtualFree(base, 0, MEM_RELEASE);
  PutData(results, sizeof results);
  return vth::kHostileCases;
}

// The folder box of an Open dialog is its upper ComboBox, id 0x471.
LRESULT DamagedFolder(HWND dialog) {
  HWND combo = GetDlgItem(dialog, 0x471);
  if (!combo) return -2;
  LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return -3;
  LRESULT own = SendMessageA(combo, CB_GETITEMDATA, index, 0);
  SYSTEM_INFO si;
  GetSystemInfo(&si);
  DWORD page = si.dwPageSize;
  auto* base = static_cast<std::uint8_t*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  if (!base) return -4;
  DWORD old = 0;
  VirtualProtect(base + page, page, PAGE_NOACCESS, &old);
  std::uint8_t* end = base + page;
  std::uint8_t* record = base;  // 16 bytes: 0, 0, indent, list
  std::uint8_t* unreadable = end;
  auto setList = [&](const void* list) {
    std::memset(record, 0, 16);
    std::memcpy(record + 12, &list, sizeof list);
  };
  std::int32_t results[vth::kDamagedFolderCases] = {};
  auto ask = [&](int i, const void* data) {
    SendMessageA(combo, CB_SETITEMDATA, index, reinterpret_cast<LPARAM>(data));
    results[i] = static_cast<std::int32_t>(SendMessageA(dialog, 0x446, 0, 0));
  };
  ask(0, nullptr);
  setList(unreadable);
  ask(1, record);
  std::memcpy(end - 4, "\x20\x00ab", 4);  // an item of 32 bytes with 4 before the page ends
  setList(end - 4);
  ask(2, record);
  std::memcpy(end - 4, "\x01\x00\x01\x00", 4);
  setList(end - 4);
  ask(3, record);
  ask(4, end - 8);  // offset 12 of this record is in the unreadable page
  SendMessageA(combo, CB_SETITEMDATA, index, own);
  VirtualFree(base, 0, MEM_RELEASE);
  PutData(results, sizeof results);
  return vth::kDamagedFolderCases;
}

LRESULT Command(HWND dialog, const COPYDATASTRUCT* cds) {
  const char* data = static_cast<const char*>(cds->lpData);
  std::size_t size = data ? cds->cbData : 0;
  g_probe->DataSize = 0;
  switch (cds->dwData) {
    case vth::kCmdSelect:
      return SelectItems(dialog, data, size);
    case vth::kCmdItemTexts:
      return ItemTexts(dialog);
    case vth::kCmdFolderIdList: {
      LRESULT n = SendMessageA(dialog, CDM_GETFOLDERIDLIST, sizeof g_probe->Data, reinterpret_cast<LPARAM>(g_probe->Data));
      if (n > 0 && static_cast<std::size_t>(n) <= sizeof g_probe->Data) g_probe->DataSize = static_cast<std::uint32_t>(n);
      return n;
    }
    case vth::kCmdFolderPath: {
      char path[MAX_PATH * 2] = {};
      LRESULT n = SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof path, reinterpret_cast<LPARAM>(path));
      PutData(path, std::strlen(path) + 1);
      return n;
    }
    case vth::kCmdMinMax: {
      MINMAXINFO mmi{};
      if (size != sizeof mmi) return -1;
      std::memcpy(&mmi, data, sizeof mmi);
      LRESULT r = SendMessageA(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
      PutData(&mmi, sizeof mmi);
      return r;
    }
    case vth::kCmdMoving: {
      RECT rc{};
      if (size != sizeof rc) return -1;
      std::memcpy(&rc, data, sizeof rc);
      LRESULT r = SendMessageA(dialog, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&rc));
      PutData(&rc, sizeof rc);
      return r;
    }
    case vth::kCmdHostile:
      return Hostile(dialog);
    case vth::kCmdDamagedFolder:
      return DamagedFolder(dialog);
    case vth::kCmdSetText: {
      HWND edit = FileNameEditOf(dialog);
      if (!edit) return -2;
      std::string text(data ? data : "", size ? strnlen(data, size) : 0);
      return SendMessageA(edit, WM_SETTEXT, 0, data ? reinterpret_cast<LPARAM>(text.c_str()) : 0);
    }
    default:
      return -1;
  }
}

LRESULT CALLBACK OwnerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_COPYDATA && lp) {
    HWND dialog = CurrentDialog();
    return dialog ? Command(dialog, reinterpret_cast<const COPYDATASTRUCT*>(lp)) : -3;
  }
  return DefWindowProcA(w, m, wp, lp);
}

vth::ProbeBlock* OpenProbe() {
  char name[64];
  std::snprintf(name, sizeof name, "%s%lu", vth::kProbePrefix, GetCurrentProcessId());
  HANDLE map = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(vth::ProbeBlock), name);
  if (!map) return nullptr;
  auto* p = static_cast<vth::ProbeBlock*>(MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, 0));
  if (p) {
    std::memset(p, 0, sizeof *p);
    p->Magic = vth::kProbeMagic;
  }
  return p;  // the mapping stays open for the life of the process
}

const char kFakeClass[] = "VtFakeDialog";

// One window per shape, children first, then shown: the hook decides at the show.
int ShowFakes(const std::string& shapes) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kFakeClass;
  RegisterClassA(&wc);
  for (const char* cls : {"DUIViewWndClassName", "DirectUIHWND", "FloatNotifySink"}) {
    wc.lpszClassName = cls;
    RegisterClassA(&wc);
  }
  int index = 0;
  for (std::size_t at = 0; at < shapes.size(); ++index) {
    std::size_t end = shapes.find(',', at);
    if (end == std::string::npos) end = shapes.size();
    std::string shape = shapes.substr(at, end - at);
    at = end + 1;
    bool otherClass = !shape.empty() && shape[0] == 'x';
    HWND w = CreateWindowExA(0, otherClass ? kFakeClass : "#32770", shape.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                             20 + 30 * index, 20 + 30 * index, 300, 260, nullptr, nullptr, wc.hInstance, nullptr);
    if (!w) return 6;
    static const struct {
      char letter;
      const char* cls;
      DWORD style;
    } kKinds[] = {{'L', "ListBox", 0}, {'C', "ComboBox", CBS_DROPDOWNLIST}, {'B', "Button", BS_PUSHBUTTON},
                  {'S', "Static", SS_LEFT}};
    int y = 0;
    for (const auto& k : kKinds) {
      std::size_t p = shape.find(k.letter);
      int n = p == std::string::npos ? 0 : std::atoi(shape.c_str() + p + 1);
      for (int i = 0; i < n; ++i, y += 12)
        CreateWindowExA(0, k.cls, "", WS_CHILD | WS_VISIBLE | k.style, 4, y, 120, 11, w, nullptr, wc.hInstance, nullptr);
    }
    if (shape[0] == 'W') {
      HWND parent = w;
      for (const char* cls : {"DUIViewWndClassName", "DirectUIHWND", "FloatNotifySink"})
        parent = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE, 0, 0, 280, 200, parent, nullptr, wc.hInstance, nullptr);
      // A drop-down combo box makes its Edit itself, as on Windows.
      if (shape != "Wn")
        CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 4, 4, 200, 100, parent, nullptr,
                        wc.hInstance, nullptr);
    }
    ShowWindow(w, SW_SHOWNOACTIVATE);
  }
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  return 0;
}

DWORD WINAPI WatchParent(LPVOID process) {
  WaitForSingleObject(static_cast<HANDLE>(process), INFINITE);
  ExitProcess(5);
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder, title = "Hook Test Open", fakes;
  int shows = 1;
  DWORD parent = 0;
  bool multi = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--folder" && i + 1 < argc) folder = argv[++i];
    else if (a == "--title" && i + 1 < argc) title = argv[++i];
    else if (a == "--shows" && i + 1 < argc) shows = std::atoi(argv[++i]);
    else if (a == "--probe") g_countOwnProc = true;
    else if (a == "--multi") multi = true;
    else if (a == "--fakes" && i + 1 < argc) fakes = argv[++i];
    else if (a == "--parent" && i + 1 < argc) parent = std::strtoul(argv[++i], nullptr, 10);
  }
  if (HANDLE p = parent ? OpenProcess(SYNCHRONIZE, FALSE, parent) : nullptr)
    CloseHandle(CreateThread(nullptr, 0, WatchParent, p, 0, nullptr));
  g_probe = OpenProbe();
  if (!g_probe) return 3;

  WNDCLASSA wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = vth::kClientClass;
  if (!RegisterClassA(&wc)) return 255;
  g_owner = CreateWindowExA(0, vth::kClientClass, "Hook Test Client", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
  if (!g_owner) return 4;
  ShowWindow(g_owner, SW_HIDE);
  SetWindowsHookExA(WH_CALLWNDPROC, WatchProc, nullptr, GetCurrentThreadId());
  if (!fakes.empty()) return ShowFakes(fakes);

  for (int n = 0; n < shows; ++n) {
    char file[1000] = {};
    char fileTitle[1000] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = offsetof(OPENFILENAMEA, pvReserved);  // the record size TestVT uses
    ofn.hwndOwner = g_owner;
    ofn.lpstrFilter = "All Files (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrFileTitle = fileTitle;
    ofn.nMaxFileTitle = sizeof fileTitle;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_CREATEPROMPT | OFN_HIDEREADONLY | (multi ? OFN_ALLOWMULTISELECT : 0);
    GetOpenFileNameA(&ofn);
  }
  return 0;
}
