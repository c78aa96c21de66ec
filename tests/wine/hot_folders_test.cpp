// Hot folders and the tray end to end: the real Kestrum.exe with real Open dialogs, the list
// driven with the messages a user's mouse makes, shell data objects dropped through real OLE
// drag and drop, and the stored list read back from the registry.
#include "support/Frozen.h"
#include "support/PanelHarness.h"

#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commctrl.h>

#include "controller/TrayMenus.h"

namespace {

using namespace vtt;
using Bytes = std::vector<std::uint8_t>;
const std::string kHotKey = std::string(kAppKey) + "\\HotFolders";

Bytes Taken(LPITEMIDLIST list) {
  Bytes b;
  if (!list) return b;
  const auto* p = reinterpret_cast<const std::uint8_t*>(list);
  std::size_t size = 0;
  while (p[size] | p[size + 1]) size += p[size] | (p[size + 1] << 8);
  b.assign(p, p + size + 2);
  CoTaskMemFree(list);
  return b;
}

LPITEMIDLIST Parse(IShellFolder* folder, const std::string& name) {
  std::wstring wide(name.begin(), name.end());
  LPITEMIDLIST list = nullptr;
  folder->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &list, nullptr);
  return list;
}

Bytes PathList(const std::string& path) {
  IShellFolder* desktop = nullptr;
  SHGetDesktopFolder(&desktop);
  Bytes b = Taken(Parse(desktop, path));
  desktop->Release();
  return b;
}

Bytes SpecialList(int csidl) {
  LPITEMIDLIST list = nullptr;
  SHGetSpecialFolderLocation(nullptr, csidl, &list);
  return Taken(list);
}

// The test's side of a drag: it moves the pointer onto the target and drops there.
class PointerDrop final : public IDropSource {
 public:
  explicit PointerDrop(POINT at) : at_(at) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    *out = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource) ? this : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
    SetCursorPos(at_.x, at_.y);
    return ++asked_ < 6 ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  POINT at_;
  int asked_ = 0;
};

// The shell's own data object for `names` in `parent`, dropped at a screen point.
DWORD DropShellObjects(const std::string& parent, const std::vector<std::string>& names, POINT at) {
  IShellFolder* desktop = nullptr;
  SHGetDesktopFolder(&desktop);
  LPITEMIDLIST parentList = Parse(desktop, parent);
  IShellFolder* folder = nullptr;
  desktop->BindToObject(parentList, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder));
  std::vector<LPITEMIDLIST> children;
  for (const std::string& name : names) children.push_back(Parse(folder, name));
  IDataObject* data = nullptr;
  folder->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), const_cast<LPCITEMIDLIST*>(children.data()),
                        IID_IDataObject, nullptr, reinterpret_cast<void**>(&data));
  DWORD effect = DROPEFFECT_NONE;
  PointerDrop source(at);
  if (data) DoDragDrop(data, &source, DROPEFFECT_LINK | DROPEFFECT_COPY, &effect);
  if (data) data->Release();
  for (LPITEMIDLIST child : children) CoTaskMemFree(child);
  folder->Release();
  CoTaskMemFree(parentList);
  desktop->Release();
  return effect;
}

BOOL CALLBACK FindList(HWND w, LPARAM out) {
  if (ClassOf(w) != WC_LISTVIEWA) return TRUE;
  *reinterpret_cast<HWND*>(out) = w;
  return FALSE;
}

class HotFolders : public Panel {
 protected:
  void SetUp() override {
    Panel::SetUp();
    OleInitialize(nullptr);
  }
  void TearDown() override {
    Panel::TearDown();
    OleUninitialize();
  }
  // The stored list; an empty entry stands for a missing value.
  void Store(const std::vector<Bytes>& lists) {
    DeleteTree(kHotKey);
    WriteDword(kHotKey, "FoldersCount", static_cast<DWORD>(lists.size()));
    for (std::size_t n = 0; n < lists.size(); ++n)
      if (!lists[n].empty())
        WriteBinary(kHotKey, "Folder" + std::to_string(n), lists[n].data(), static_cast<DWORD>(lists[n].size()));
  }
  Bytes Stored(int n) {
    Bytes b(4100);
    DWORD size = 4100, type = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kHotKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    const bool ok = RegQueryValueExA(key, ("Folder" + std::to_string(n)).c_str(), nullptr, &type, b.data(), &size) == 0;
    RegCloseKey(key);
    b.resize(ok ? size : 0);
    return b;
  }
  DWORD StoredCount() {
    DWORD n = 0;
    ReadDword(kHotKey, "FoldersCount", &n);
    return n;
  }
  std::string NewFolder(const std::string& name) {
    const std::string path = folder_->Path() + name;
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
  }
  static HWND HotOf(HWND panel) {
    HWND list = nullptr;
    if (panel) EnumChildWindows(panel, FindList, reinterpret_cast<LPARAM>(&list));
    return list;
  }
  static int Count(HWND hot) { return static_cast<int>(SendMessageA(hot, LVM_GETITEMCOUNT, 0, 0)); }
  // Rows of the report view, from the height the list asks for n of them.
  static int RowHeight(HWND hot) {
    auto high = [&](int n) { return HIWORD(SendMessageA(hot, LVM_APPROXIMATEVIEWRECT, n, MAKELPARAM(-1, -1))); };
    return high(2) - high(1);
  }
  static LPARAM Row(HWND hot, int i, int dx = 0, int dy = 0) {
    const int h = RowHeight(hot);
    return MAKELPARAM(20 + dx, i * h + h / 2 + dy);
  }
  static void Click(HWND hot, int i, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
    PostMessageA(hot, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, Row(hot, i));
    PostMessageA(hot, up, 0, Row(hot, i));
  }
  // A point of the list on the screen, y rows down.
  static POINT OnScreen(HWND hot, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hot, &p);
    return p;
  }
  HWND WaitMenu() {
    HWND menu = nullptr;
    WaitFor([&] { return (menu = TopWindow(controller_.Id(), "#32768")) && IsWindowVisible(menu); }, kWait);
    return menu;
  }
  void Keys(HWND menu, std::initializer_list<WPARAM> keys) {
    for (WPARAM k : keys) PostMessageA(menu, WM_KEYDOWN, k, 0);
  }
  // The panel's list of a client whose panel is up, with its entries shown.
  HWND OpenPanelList(Client& c, int entries) {
    if (!c.WaitDialog()) return nullptr;
    HWND hot = HotOf(c.WaitPanel());
    if (hot) WaitFor([&] { return Count(hot) == entries; }, kWait);
    return hot;
  }
};

// Key messages that reached the bystander's edit box.
int g_bystanderKeys = 0;
WNDPROC g_bystanderProc = nullptr;
LRESULT CALLBACK BystanderProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m >= WM_KEYFIRST && m <= WM_KEYLAST) ++g_bystanderKeys;
  return CallWindowProcA(g_bystanderProc, w, m, wp, lp);
}

// The click drives the dialog through its own controls: another program's edit box that has
// the focus meanwhile gets no key.
TEST_F(HotFolders, AClickDrivesTheDialogThereAndPutsTheTextBack) {
  const std::string target = NewFolder("Hot Target");
  Store({PathList(target)});
  StartController();
  Client& c = Open("PanelA.exe", "--folder " + TempDir() + " --file report.txt");
  HWND hot = OpenPanelList(c, 1);
  ASSERT_TRUE(hot);
  ASSERT_EQ(Count(hot), 1);
  KeepScreenshot("hot-click-before.bmp");
  HWND bystander = CreateWindowExA(0, "Edit", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 200, 60, nullptr,
                                   nullptr, nullptr, nullptr);
  ASSERT_TRUE(bystander);
  g_bystanderProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(bystander, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BystanderProc)));
  SetForegroundWindow(bystander);
  SetFocus(bystander);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == bystander && GetFocus() == bystander; }, 3000));
  g_bystanderKeys = 0;
  Click(hot, 0);
  EXPECT_TRUE(WaitFor([&] { return LookIn(c.Dialog()) == "Hot Target"; }, 8000)) << LookIn(c.Dialog());
  EXPECT_TRUE(WaitFor([&] { return FileNameBox(c.Dialog()) == "report.txt"; }, 8000)) << FileNameBox(c.Dialog());
  Pump(300);
  EXPECT_EQ(g_bystanderKeys, 0) << "a key of the navigation reached the window with the focus";
  DestroyWindow(bystander);
  KeepScreenshot("hot-click-after.bmp");
}

// A virtual folder has no path: it is reached through a shortcut in Links, and a stored
// shortcut whose file has gone is replaced under a new name.
TEST_F(HotFolders, MyComputerIsReachedThroughANewShortcutInLinks) {
  Store({SpecialList(CSIDL_DRIVES)});
  WriteString(kHotKey, "Folder0-lnk", "123.lnk");
  StartController();
  Client& c = Open("PanelA.exe", "--folder " + TempDir() + " --file report.txt");
  HWND hot = OpenPanelList(c, 1);
  ASSERT_TRUE(hot);
  const std::string mine = LookIn(c.Dialog());
  Click(hot, 0);
  // Through Links, where the dialog opens the shortcut, to the folder itself.
  EXPECT_TRUE(WaitFor([&] { return LookIn(c.Dialog()) == "My Computer"; }, 15000)) << LookIn(c.Dialog()) << " from " << mine;
  KeepScreenshot("hot-my-computer.bmp");
  std::string link;
  EXPECT_TRUE(ReadString(kHotKey, "Folder0-lnk", &link));
  EXPECT_NE(link, "123.lnk");
  EXPECT_EQ(link.substr(link.size() - 4), ".lnk");
  EXPECT_TRUE(FileExists(folder_->Path() + "Links\\" + link));
}

TEST_F(HotFolders, DroppedFoldersAreAddedAndOtherDropsRefused) {
  const std::string a = NewFolder("A"), b = NewFolder("B");
  NewFolder("Two1");
  NewFolder("Two2");
  WriteFileText(folder_->Path() + "file.txt", "x");
  const Bytes listB = PathList(b);  // its parent's item changes once the program writes there
  Store({PathList(a), listB});
  StartController();
  Client& c = Open("PanelA.exe");
  HWND hot = OpenPanelList(c, 2);
  ASSERT_TRUE(hot);
  const int h = RowHeight(hot);

  // Between the centres of entries 0 and 1: inserted as entry 1, and stored at once.
  const std::string parent = folder_->Path().substr(0, folder_->Path().size() - 1);
  DropShellObjects(parent, {"Two1"}, OnScreen(hot, 20, h));
  ASSERT_TRUE(WaitFor([&] { return Count(hot) == 3; }, kWait));
  EXPECT_EQ(StoredCount(), 3u);
  EXPECT_EQ(Stored(1), PathList(folder_->Path() + "Two1"));
  EXPECT_EQ(Stored(2), listB);

  // A file, or two folders at once: nothing changes.
  DropShellObjects(parent, {"file.txt"}, OnScreen(hot, 20, h));
  DropShellObjects(parent, {"Two1", "Two2"}, OnScreen(hot, 20, h));
  Pump(1000);
  EXPECT_EQ(Count(hot), 3);
  EXPECT_EQ(StoredCount(), 3u);
}

// No real button is held, so the panel's drag loop drops at once where the pointer is.
TEST_F(HotFolders, DraggingTheFirstEntryBelowTheLastMovesIt) {
  std::vector<Bytes> lists;
  for (const char* name : {"D0", "D1", "D2", "D3"}) lists.push_back(PathList(NewFolder(name)));
  Store(lists);
  WriteString(kHotKey, "Folder0-lnk", "55.lnk");
  StartController();
  Client& c = Open("PanelA.exe");
  HWND hot = OpenPanelList(c, 4);
  ASSERT_TRUE(hot);
  const POINT below = OnScreen(hot, 20, 4 * RowHeight(hot) - 2);
  SetCursorPos(below.x, below.y);
  PostMessageA(hot, WM_LBUTTONDOWN, MK_LBUTTON, Row(hot, 0));
  // Too short a move, or with Shift: no drag.
  PostMessageA(hot, WM_MOUSEMOVE, MK_LBUTTON, Row(hot, 0, 9, 9));
  PostMessageA(hot, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, Row(hot, 0, 0, 12));
  Pump(1000);
  EXPECT_EQ(Stored(0), lists[0]);
  PostMessageA(hot, WM_MOUSEMOVE, MK_LBUTTON, Row(hot, 0, 10, 0));
  // The entries are written one after another: the moved list is whole once the last is.
  EXPECT_TRUE(WaitFor([&] { return Stored(0) == lists[1] && Stored(3) == lists[0]; }, kWait));
  EXPECT_EQ(Stored(3), lists[0]);
  std::string link;
  EXPECT_TRUE(ReadString(kHotKey, "Folder3-lnk", &link));
  EXPECT_EQ(link, "55.lnk");
  EXPECT_EQ(Count(hot), 4);
}

// Every panel shows the stored list: a change in one is not undone by another's save.
TEST_F(HotFolders, AChangeInOnePanelReachesTheOthers) {
  std::vector<Bytes> lists;
  for (const char* name : {"P0", "P1", "P2"}) lists.push_back(PathList(NewFolder(name)));
  Store(lists);
  StartController();
  Client& a = Open("PanelA.exe", "--title One");
  Client& b = Open("PanelB.exe", "--title Two");
  HWND one = OpenPanelList(a, 3), two = OpenPanelList(b, 3);
  ASSERT_TRUE(one && two);
  auto remove = [&](Client& c, HWND hot, int i, const char* name) {
    Click(hot, i, WM_RBUTTONDOWN, WM_RBUTTONUP);
    HWND menu = WaitMenu();
    ASSERT_TRUE(menu);
    // The release opened the entry too; its navigation pumps messages until it ends.
    ASSERT_TRUE(WaitFor([&] { return LookIn(c.Dialog()) == name; }, kWait));
    Pump(500);
    Keys(menu, {VK_DOWN, VK_DOWN, VK_RETURN});  // "Open", then "Delete"
  };
  remove(a, one, 1, "P1");
  ASSERT_TRUE(WaitFor([&] { return StoredCount() == 2; }, kWait));
  EXPECT_TRUE(WaitFor([&] { return Count(two) == 2; }, kWait));
  remove(b, two, 0, "P0");
  ASSERT_TRUE(WaitFor([&] { return StoredCount() == 1; }, kWait));
  EXPECT_EQ(Stored(0), lists[2]);
  EXPECT_TRUE(WaitFor([&] { return Count(one) == 1; }, kWait));
}

TEST_F(HotFolders, FirstRunDefaultsAppearInANewPanel) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kAppKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueA(key, "NoFirstRun");
    RegCloseKey(key);
  }
  StartController();  // the first run starts TestVT; its button opens the Open dialog
  HWND testvt = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (testvt = TopWindow(0, "#32770", "Test Vantrel")) != nullptr; }, 60000));
  PostMessageA(testvt, WM_COMMAND, 101, 0);  // IDC_OPEN_DIALOG
  HWND panel = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (panel = TopWindow(0, kPanelClass)) && IsWindowVisible(panel); }, 60000));
  HWND hot = HotOf(panel);
  ASSERT_TRUE(WaitFor([&] { return StoredCount() > 0 && Count(hot) == static_cast<int>(StoredCount()); }, kWait))
      << Count(hot) << " shown, " << StoredCount() << " stored";
  KeepScreenshot("hot-first-run.bmp");
  KillProcessesNamed("TestVT.exe");
}

bool IconThere(HWND main) {
  NOTIFYICONDATAA d{};
  d.cbSize = NOTIFYICONDATAA_V1_SIZE;
  d.hWnd = main;
  d.uID = vt::kTrayIconId;
  d.uFlags = NIF_TIP;
  lstrcpyA(d.szTip, "Vantrel v1.01");
  return Shell_NotifyIconA(NIM_MODIFY, &d) != FALSE;
}

TEST_F(HotFolders, TrayIconComesBackAfterTheShellRestarts) {
  if (!FindWindowA("Shell_TrayWnd", nullptr)) GTEST_SKIP() << "no notification area in this session";
  StartController();
  HWND main = TopWindow(controller_.Id(), "TVantrel");
  EXPECT_TRUE(WaitFor([&] { return IconThere(main); }, kWait));
  // The shell restarted and forgot the icon: the broadcast brings it back.
  NOTIFYICONDATAA gone{};
  gone.cbSize = NOTIFYICONDATAA_V1_SIZE;
  gone.hWnd = main;
  gone.uID = vt::kTrayIconId;
  Shell_NotifyIconA(NIM_DELETE, &gone);
  ASSERT_FALSE(IconThere(main));
  SendMessageA(main, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(WaitFor([&] { return IconThere(main); }, kWait));
}

// The icon's clicks as the shell reports them to the main form.
TEST_F(HotFolders, TrayMenusListTheStoredFoldersAndExit) {
  const std::string a = NewFolder("T0"), b = NewFolder("T1"), c = NewFolder("T2");
  StartController();
  HWND main = TopWindow(controller_.Id(), "TVantrel");

  // The left menu, read afresh each time: its height tells how many folders it lists.
  auto leftMenuHeight = [&] {
    PostMessageA(main, vt::kTrayCallbackMessage, vt::kTrayIconId, WM_LBUTTONDOWN);
    PostMessageA(main, vt::kTrayCallbackMessage, vt::kTrayIconId, WM_LBUTTONUP);
    HWND menu = WaitMenu();
    const int h = menu ? Height(WindowRectOf(menu)) : -1;
    if (menu) Keys(menu, {VK_ESCAPE});
    WaitFor([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, kWait);
    return h;
  };
  Store({PathList(a), PathList(b), PathList(c)});
  const int three = leftMenuHeight();
  Store({PathList(a)});
  const int one = leftMenuHeight();
  Store({PathList(a), {}, PathList(c)});  // Folder1 missing
  EXPECT_EQ(leftMenuHeight(), one);
  EXPECT_GT(three, one);
  EXPECT_EQ(leftMenuHeight(), one);  // the same again: nothing piles up

  // Exit: refused while a panel is open, then the program ends.
  auto chooseExit = [&] {
    PostMessageA(main, vt::kTrayCallbackMessage, vt::kTrayIconId, WM_RBUTTONUP);
    HWND menu = WaitMenu();
    ASSERT_TRUE(menu);
    Keys(menu, {VK_UP, VK_RETURN});  // the last item
  };
  Client& client = Open("PanelA.exe");
  ASSERT_TRUE(client.WaitDialog());
  HWND panel = client.WaitPanel();
  ASSERT_TRUE(panel);
  chooseExit();
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    box = TopWindow(controller_.Id(), "#32770");
    return box && MessageBoxText(box).find("can't quit") != std::string::npos;
  }, kWait)) << (box ? MessageBoxText(box) : "no message box");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_FALSE(controller_.WaitExit(1000));
  PostMessageA(panel, WM_CLOSE, 0, 0);
  ASSERT_TRUE(SlotFreed(client.Dialog()));
  chooseExit();
  EXPECT_TRUE(controller_.WaitExit(kWait));
}

// A framed program that stops answering costs Kestrum one bounded wait at most (a second):
// it answers while that program's panel is moved, sized and clicked, and another program's dialog
// gets its panel. Once the program runs again its dialog catches up, and both close.
TEST_F(HotFolders, AStoppedProgramFreezesNeitherKestrumNorOtherPanels) {
  Store({PathList(NewFolder("Hot Target"))});
  StartController();
  HWND controller = TopWindow(controller_.Id(), "TVantrel");
  Client& stuck = Open("Stuck.exe");
  HWND hot = OpenPanelList(stuck, 1);
  ASSERT_TRUE(hot);
  HWND panel = PanelOf(stuck.Dialog());
  ASSERT_TRUE(WaitFor([&] { return Framed(panel, stuck.Dialog()); }, kWait));
  Frozen frozen(stuck.Process().Id());
  ASSERT_TRUE(frozen.Any());
  ASSERT_EQ(AnswerTime(stuck.Dialog(), 1000), 1000u) << "the program still answers";
  const RECT p = WindowRectOf(panel);
  DWORD worst = 0;
  for (int i = 1; i <= 8; ++i) {
    SetWindowPos(panel, nullptr, p.left + 9 * i, p.top + 4 * i, Width(p) + (i % 2) * 30, Height(p),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    if (i == 4) Click(hot, 0);
    worst = std::max(worst, AnswerTime(controller, 10000));
    Pump(300);
  }
  EXPECT_LT(worst, 2500u) << "Kestrum waited on the stopped program";
  Client& other = Open("Other.exe");
  ASSERT_TRUE(other.WaitDialog());
  HWND second = other.WaitPanel();
  ASSERT_TRUE(second) << "no panel for another program while one is stopped";
  EXPECT_TRUE(WaitFor([&] { return Framed(second, other.Dialog()); }, kWait));
  EXPECT_LT(AnswerTime(controller, 10000), 2500u);

  frozen.Thaw();
  EXPECT_TRUE(WaitFor([&] { return Framed(panel, stuck.Dialog()); }, kWait)) << "the dialog did not catch up";
  EXPECT_TRUE(Framed(second, other.Dialog()));
  for (Client* c : {&stuck, &other}) {
    PostMessageA(c->Dialog(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(SlotFreed(c->Dialog()));
  }
}

// Today's programs show the common item dialog (IFileOpenDialog): it is framed like the
// classic one, a hot-folder click takes it there (the program hears OnFolderChange, the status
// bar shows the folder) and gives
// the typed name back, My Computer is reached through its shortcut in Links, and closing it
// frees the slot.
TEST_F(HotFolders, AnItemOpenDialogIsFramedAndDrivenLikeTheClassicOne) {
  const std::string target = NewFolder("Hot Target");
  Store({PathList(target), SpecialList(CSIDL_DRIVES)});
  StartController();
  const std::string log = folder_->Path() + "item.log";
  Client& c = OpenItemDialog("Modern.exe", "--folder " + TempDir() + " --file report.txt --log " + log);
  HWND hot = OpenPanelList(c, 2);
  ASSERT_TRUE(hot);
  HWND panel = PanelOf(c.Dialog());
  EXPECT_TRUE(WaitFor([&] { return Framed(panel, c.Dialog()); }, kWait));
  KeepScreenshot("item-open-framed.bmp");
  Click(hot, 0);
  EXPECT_TRUE(WaitFor([&] { return ReadFileText(log).find("folder " + target) != std::string::npos; }, 8000))
      << ReadFileText(log);
  EXPECT_TRUE(WaitFor([&] { return StatusText(panel).find("Hot Target") != std::string::npos; }, 8000))
      << StatusText(panel);
  EXPECT_TRUE(WaitFor([&] { return FileNameBox(c.Dialog()) == "report.txt"; }, 8000)) << FileNameBox(c.Dialog());
  Click(hot, 1);
  EXPECT_TRUE(WaitFor([&] {
    std::string text = ReadFileText(log);
    CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text.find("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}") != std::string::npos;  // My Computer
  }, 15000)) << ReadFileText(log);
  PostMessageA(c.Dialog(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(SlotFreed(c.Dialog()));
}

// The Save variant is framed and frees its slot too; a program on the ignore list keeps its
// item dialog as it is (the next program's dialog is framed, its own never).
TEST_F(HotFolders, AnItemSaveDialogIsFramedAndTheIgnoreListLeavesOneAlone) {
  const std::string ignore = std::string(kAppKey) + "\\IgnoreList";
  WriteDword(ignore, "IgnoreCount", 1);
  WriteString(ignore, "Ignore0", "QUIET.EXE");
  StartController();
  Client& quiet = OpenItemDialog("Quiet.exe");
  ASSERT_TRUE(quiet.WaitDialog());
  Client& saver = OpenItemDialog("Saver.exe", "--save --folder " + TempDir());
  ASSERT_TRUE(saver.WaitDialog());
  HWND panel = saver.WaitPanel();
  ASSERT_TRUE(panel);
  EXPECT_TRUE(WaitFor([&] { return Framed(panel, saver.Dialog()); }, kWait));
  EXPECT_EQ(PanelOf(quiet.Dialog()), nullptr);
  PostMessageA(saver.Dialog(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(SlotFreed(saver.Dialog()));
}

}  // namespace
