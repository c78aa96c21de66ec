// TestVT.exe through the real window manager: its resources, its dialog, its Open dialog and
// how it hands the chosen file to the shell.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/WineTest.h"
#include "protocol/Handle32.h"

namespace {

constexpr int kButtonId = 101;
constexpr DWORD kWindowWait = 20000;  // the first Wine start of a program is slow

// A reader of a classic dialog template that never reads past the resource.
class TemplateReader {
 public:
  TemplateReader(const BYTE* data, DWORD size) : data_(data), size_(size) {}
  bool ok() const { return ok_; }
  DWORD Dword() { return Take<DWORD>(); }
  WORD Word() { return Take<WORD>(); }
  short Short() { return static_cast<short>(Take<WORD>()); }
  void AlignDword() { pos_ = (pos_ + 3) & ~static_cast<DWORD>(3); }
  // A name field: 0x0000 (none), 0xFFFF + ordinal, or a UTF-16 string; ordinals come back as "#n".
  std::string Name() {
    WORD first = Word();
    if (first == 0) return {};
    if (first == 0xFFFF) return std::string("#").append(std::to_string(Word()));
    std::string s(1, static_cast<char>(first));
    for (WORD c = Word(); ok_ && c; c = Word()) s += c < 0x80 ? static_cast<char>(c) : '?';
    return s;
  }

 private:
  template <typename T>
  T Take() {
    T v{};
    if (pos_ + sizeof(T) > size_) {
      ok_ = false;
      return v;
    }
    std::memcpy(&v, data_ + pos_, sizeof(T));
    pos_ += sizeof(T);
    return v;
  }
  const BYTE* data_;
  DWORD size_;
  DWORD pos_ = 0;
  bool ok_ = true;
};

struct Item {
  DWORD style, exStyle;
  short x, y, cx, cy;
  WORD id;
  std::string cls, text;
};

TEST(TestVtResources, DialogTemplateAndIconAreTheClassicOnes) {
  std::string exe = vtt::DistDir() + "TestVT.exe";
  HMODULE mod = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(mod) << exe;
  EXPECT_TRUE(FindResourceA(mod, "MAINICON", MAKEINTRESOURCEA(14))) << "icon group MAINICON";
  EXPECT_TRUE(LoadIconA(mod, "MAINICON")) << "the icon group names a loadable icon";

  HRSRC res = FindResourceA(mod, "DIALOG_1", MAKEINTRESOURCEA(5));
  ASSERT_TRUE(res);
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(mod, res)));
  TemplateReader r(data, SizeofResource(mod, res));

  // Classic, not extended: the first word is not the DLGTEMPLATEEX signature.
  DWORD style = r.Dword();
  EXPECT_EQ(style, 0x80C80080u);
  EXPECT_EQ(r.Dword(), 0u) << "extended style";
  WORD count = r.Word();
  short x = r.Short(), y = r.Short(), cx = r.Short(), cy = r.Short();
  EXPECT_EQ(x, 69);
  EXPECT_EQ(y, 41);
  EXPECT_EQ(cx, 142);
  EXPECT_EQ(cy, 82) << "room below the first button for the item dialog's";
  EXPECT_EQ(r.Name(), "") << "menu";
  EXPECT_EQ(r.Name(), "") << "default dialog class";
  EXPECT_EQ(r.Name(), "Test Vantrel");
  EXPECT_FALSE(style & DS_SETFONT) << "the system font, no font record";
  ASSERT_EQ(count, 3);

  std::vector<Item> items;
  for (int i = 0; i < count; ++i) {
    r.AlignDword();
    Item it{};
    it.style = r.Dword();
    it.exStyle = r.Dword();
    it.x = r.Short(), it.y = r.Short(), it.cx = r.Short(), it.cy = r.Short();
    it.id = r.Word();
    it.cls = r.Name();
    it.text = r.Name();
    WORD extra = r.Word();
    for (WORD b = 0; b < (extra + 1) / 2; ++b) r.Word();
    items.push_back(it);
  }
  ASSERT_TRUE(r.ok()) << "template shorter than its own counts";

  const Item& button = items[0];
  EXPECT_EQ(button.cls, "#128") << "Button";
  EXPECT_EQ(button.id, kButtonId);
  EXPECT_EQ(button.text, "Open File Dialog");
  EXPECT_EQ(button.style, 0x50010000u);
  EXPECT_EQ(button.exStyle, 0u);
  EXPECT_EQ(std::vector<short>({button.x, button.y, button.cx, button.cy}), std::vector<short>({39, 49, 63, 12}));

  const Item& label = items[1];
  EXPECT_EQ(label.cls, "#130") << "Static";
  EXPECT_EQ(label.id, 0xFFFF);
  EXPECT_EQ(label.text, "Please use below button to test Vantrel:");
  EXPECT_EQ(label.style, 0x50020001u);
  EXPECT_EQ(label.exStyle, 0u);
  EXPECT_EQ(std::vector<short>({label.x, label.y, label.cx, label.cy}), std::vector<short>({16, 14, 109, 19}));

  const Item& item = items[2];
  EXPECT_EQ(item.cls, "#128") << "Button";
  EXPECT_EQ(item.id, kButtonId + 1);
  EXPECT_EQ(item.text, "Open Item Dialog");
  EXPECT_EQ(item.style, 0x50010000u);
  EXPECT_EQ(std::vector<short>({item.x, item.y, item.cx, item.cy}), std::vector<short>({39, 65, 63, 12}));
  FreeLibrary(mod);
}

class TestVt : public ::testing::Test {
 protected:
  void SetUp() override {
    // A resident program would attach panels to the Open dialogs; these tests are about TestVT alone.
    vtt::KillProcessesNamed("Kestrum.exe");
    vtt::KillProcessesNamed("TestVT.exe");
  }
  void TearDown() override {
    vtt::KillProcessesNamed("TestVT.exe");
    vtt::KillProcessesNamed("testvt_opener.exe");
  }

  vtt::Process Start() { return vtt::Process(folder_.File("TestVT.exe"), "", folder_.Path()); }

  static HWND WaitDialog(const vtt::Process& p) {
    HWND dlg = nullptr;
    vtt::WaitFor([&] { return (dlg = vtt::TopWindow(p.Id(), "#32770", "Test Vantrel")) && IsWindowVisible(dlg); },
                 kWindowWait);
    return dlg;
  }

  static HWND WaitOpenDialog(const vtt::Process& p) {
    HWND open = nullptr;
    vtt::WaitFor([&] { return (open = vtt::TopWindow(p.Id(), "#32770", "Open File")) && IsWindowVisible(open); },
                 kWindowWait);
    return open;
  }

  // Presses the button the way a click does: the button itself tells its dialog.
  static void PressButton(HWND dlg) { PostMessageA(GetDlgItem(dlg, kButtonId), BM_CLICK, 0, 0); }

  vtt::ProgramFolder folder_{{"TestVT.exe"}};
};

TEST_F(TestVt, TwoStartsShowTwoIndependentCentredDialogs) {
  vtt::Process a = Start(), b = Start();
  ASSERT_TRUE(a.Started() && b.Started());
  HWND da = WaitDialog(a), db = WaitDialog(b);
  ASSERT_TRUE(da && db);
  EXPECT_NE(da, db);

  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  for (HWND d : {da, db}) {
    RECT r;
    GetWindowRect(d, &r);
    EXPECT_EQ(r.left, (sw - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, (sh - (r.bottom - r.top)) / 2);
    // Owned by a hidden window of the program's own class, which never shows.
    HWND owner = GetWindow(d, GW_OWNER);
    ASSERT_TRUE(owner);
    EXPECT_EQ(vtt::ClassOf(owner), "Test Vantrel");
    EXPECT_EQ(vtt::WindowText(owner), "Test Vantrel");
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_EQ(vtt::WindowText(GetDlgItem(d, kButtonId)), "Open File Dialog");
  }

  // Closing one leaves the other.
  PostMessageA(da, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(a.WaitExit(10000));
  EXPECT_TRUE(b.Running());
  EXPECT_TRUE(IsWindowVisible(db));
}

TEST_F(TestVt, CloseBoxEndsTheProgramEscapeDoesNot) {
  vtt::Process p = Start();
  HWND dlg = WaitDialog(p);
  ASSERT_TRUE(dlg);
  HWND button = GetDlgItem(dlg, kButtonId);

  // Escape on the focused control; the message loop has no IsDialogMessage to turn it into a cancel.
  PostMessageA(button, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  PostMessageA(button, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  // Posted messages are handled in order: once this one took effect, the keys were handled too.
  PostMessageA(button, BM_SETSTATE, TRUE, 0);
  ASSERT_TRUE(vtt::WaitFor([&] { return (SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }, 5000));
  vtt::Pump(300);
  EXPECT_TRUE(p.Running()) << "Escape ended the program";

  PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(p.WaitExit(10000)) << "the close box did not end the program";
  EXPECT_EQ(p.ExitCode(), 0u);
}

TEST_F(TestVt, ButtonOpensARealOpenDialogAndCancelDoesNothing) {
  vtt::Process p = Start();
  HWND dlg = WaitDialog(p);
  ASSERT_TRUE(dlg);

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "first open" : "open again after a cancel");
    PressButton(dlg);
    HWND open = WaitOpenDialog(p);
    ASSERT_TRUE(open);
    EXPECT_EQ(GetWindow(open, GW_OWNER), dlg);
    EXPECT_FALSE(IsWindowEnabled(dlg)) << "the Open dialog is modal to the test dialog";

    // The standard Explorer-style dialog: folder view, file-name box, one filter, no read-only box.
    EXPECT_TRUE(FindWindowExA(open, nullptr, "SHELLDLL_DefView", nullptr));
    HWND name = GetDlgItem(open, 0x47C);
    ASSERT_TRUE(name);
    EXPECT_EQ(vtt::ClassOf(name), "ComboBoxEx32");
    EXPECT_EQ(vtt::WindowText(name), "") << "the file name starts empty";
    HWND filter = GetDlgItem(open, 0x470);
    ASSERT_TRUE(filter);
    EXPECT_EQ(SendMessageA(filter, CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(vtt::WindowText(filter), "All Files (*.*)");
    HWND readOnly = GetDlgItem(open, 0x410);
    EXPECT_TRUE(!readOnly || !IsWindowVisible(readOnly)) << "OFN_HIDEREADONLY";

    PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(open, IDCANCEL)));
    ASSERT_TRUE(vtt::WaitFor([&] { return !IsWindow(open); }, 10000));
    EXPECT_TRUE(vtt::WaitFor([&] { return IsWindowEnabled(dlg) != 0; }, 5000));
    EXPECT_TRUE(p.Running());
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_EQ(vtt::CountProcessesNamed("testvt_opener.exe"), 0);
  }
}

// File types as the shell looks them up: HKEY_CLASSES_ROOT (Wine does not merge the user's own
// Software\Classes into it).
void SetClassString(const std::string& key, const std::string& data) {
  HKEY k;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(k, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), static_cast<DWORD>(data.size() + 1));
  RegCloseKey(k);
}

// The chosen file goes to the program its type is registered with, started in the file's folder.
TEST_F(TestVt, ChosenFileIsOpenedByItsProgramInItsOwnFolder) {
  SetClassString(".vtprobe", "VantrelProbe");
  std::string command = "\"";
  command += vtt::ToolsDir() + "testvt_opener.exe\" \"%1\"";
  SetClassString("VantrelProbe\\shell\\open\\command", command);
  struct Cleanup {
    ~Cleanup() {
      for (const char* k : {"VantrelProbe\\shell\\open\\command", "VantrelProbe\\shell\\open", "VantrelProbe\\shell",
                            "VantrelProbe", ".vtprobe"})
        RegDeleteKeyA(HKEY_CLASSES_ROOT, k);
    }
  } cleanup;

  std::string dir = folder_.Path();
  dir += "pick me\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  const std::string file = dir + "probe file.vtprobe";
  vtt::WriteFileText(file, "probe");

  vtt::Process p = Start();
  HWND dlg = WaitDialog(p);
  ASSERT_TRUE(dlg);
  PressButton(dlg);
  HWND open = WaitOpenDialog(p);
  ASSERT_TRUE(open);
  HWND edit = FindWindowExA(FindWindowExA(GetDlgItem(open, 0x47C), nullptr, "ComboBox", nullptr), nullptr, "Edit", nullptr);
  ASSERT_TRUE(edit);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
  PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(open, IDOK)));

  const std::string seen = file + ".seen";
  ASSERT_TRUE(vtt::WaitFor([&] { return vtt::FileExists(seen) && !vtt::ReadFileText(seen).empty(); }, kWindowWait))
      << "the registered program was not started; Open dialog still there: " << (IsWindow(open) != 0);
  std::string text = vtt::ReadFileText(seen);
  std::string cwd = text.substr(0, text.find('\n'));
  std::string arg = text.substr(text.find('\n') + 1);
  arg = arg.substr(0, arg.find('\n'));
  std::string expectDir = dir.substr(0, dir.size() - 1);  // the current folder has no trailing backslash
  EXPECT_EQ(lstrcmpiA(cwd.c_str(), expectDir.c_str()), 0) << cwd;
  EXPECT_EQ(lstrcmpiA(arg.c_str(), file.c_str()), 0) << arg;
  EXPECT_FALSE(IsWindow(open));
  EXPECT_TRUE(p.Running());
}

// The purpose of the program: with the resident program running, its Open dialog gets a
// companion panel; the program will not quit while it is open; closing the dialog frees the
// panel's slot, and then Exit ends the program.
TEST_F(TestVt, WithTheResidentProgramTheOpenDialogGetsAPanel) {
  vtt::ProgramFolder full;
  // An old run's Config.ini in a folder of the same name would change the program's start.
  DeleteFileA(full.File("Config.ini").c_str());
  vtt::DeleteTree(vtt::kAppKey);
  vtt::WriteDword(vtt::kAppKey, "NoFirstRun", 1);
  vtt::WriteDword(vtt::kAppKey, "AutoRun", 0);
  struct Cleanup {
    ~Cleanup() {
      vtt::KillProcessesNamed("Kestrum.exe");
      vtt::DeleteTree(vtt::kAppKey);
    }
  } cleanup;
  vtt::Process resident(full.File("Kestrum.exe"), "", full.Path());
  HWND main = vtt::StartedController(resident.Id(), kWindowWait);
  ASSERT_TRUE(main);

  vtt::Process p = Start();
  HWND dlg = WaitDialog(p);
  ASSERT_TRUE(dlg);
  PressButton(dlg);
  HWND open = WaitOpenDialog(p);
  ASSERT_TRUE(open);

  vtt::SharedView view;
  ASSERT_TRUE(view);
  const auto openHandle = vt::Handle32(open);
  int slot = -1;
  ASSERT_TRUE(vtt::WaitFor(
      [&] {
        for (int n = 0; n < vt::kSlotCount; ++n)
          if (view->Slots[n].PanelWindow && view->Slots[n].DialogWindow == openHandle) slot = n;
        return slot >= 0;
      },
      10000))
      << "no panel attached to the Open dialog";
  HWND panel = vt::FromHandle32<HWND>(view->Slots[slot].PanelWindow);
  DWORD panelPid = 0;
  GetWindowThreadProcessId(panel, &panelPid);
  EXPECT_EQ(panelPid, resident.Id()) << "the panel belongs to the resident program";
  EXPECT_TRUE(vtt::WaitFor([&] { return IsWindowVisible(panel) != 0; }, 5000));

  // Exit while the panel is open is refused, and the panel stays.
  PostMessageA(main, WM_CLOSE, 0, 0);
  HWND box = nullptr;
  ASSERT_TRUE(vtt::WaitFor([&] { return (box = vtt::TopWindow(resident.Id(), "#32770", "Vantrel")) != nullptr; }, 10000))
      << "no refusal";
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(vtt::WaitFor([&] { return !IsWindow(box); }, 10000));
  EXPECT_TRUE(resident.Running());
  EXPECT_TRUE(IsWindow(panel));

  PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(open, IDCANCEL)));
  ASSERT_TRUE(vtt::WaitFor([&] { return !IsWindow(open); }, 10000));
  EXPECT_TRUE(vtt::WaitFor([&] { return view->Slots[slot].PanelWindow == 0; }, 10000)) << "slot not freed";
  EXPECT_TRUE(vtt::WaitFor([&] { return !IsWindow(panel); }, 10000)) << "panel not destroyed";
  EXPECT_TRUE(resident.Running());

  // The second button's item dialog gets its panel as well.
  PostMessageA(GetDlgItem(dlg, kButtonId + 1), BM_CLICK, 0, 0);
  HWND item = nullptr;
  ASSERT_TRUE(vtt::WaitFor([&] { return (item = vtt::TopWindow(p.Id(), "#32770", "Open")) && IsWindowVisible(item); },
                           kWindowWait));
  EXPECT_TRUE(vtt::WaitFor([&] {
    for (const auto& s : view->Slots)
      if (s.PanelWindow && s.DialogWindow == vt::Handle32(item)) return true;
    return false;
  }, 10000)) << "no panel attached to the item dialog";
  PostMessageA(item, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(vtt::WaitFor([&] { return !IsWindow(item); }, 10000));
  EXPECT_TRUE(vtt::WaitFor([&] {
    for (const auto& s : view->Slots)
      if (s.PanelWindow) return false;
    return true;
  }, 10000)) << "slot not freed";

  // With no panel left, Exit ends the resident program.
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(resident.WaitExit(10000));
}

}  // namespace
