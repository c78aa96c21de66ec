// The resident program's helpers on the real Win32 layer: existence tests without error
// boxes, the shell's identifier lists and file facts, the broadcast, the ignore list's case.
#include <windows.h>
#include <oleauto.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "controller/ProgramQuery.h"
#include "protocol/IgnoreList.h"
#include "support/WineTest.h"
#include "util/AnsiText.h"
#include "util/ShellIdList.h"
#include "util/FileFacts.h"
#include "util/FrameMetrics.h"
#include "util/PathExists.h"
#include "util/ShellFolder.h"
#include "util/ShellOpen.h"

namespace {

// Absolute identifier list of a path, or null.
LPITEMIDLIST ListOf(const std::string& path) {
  const vt::ComPtr<IShellFolder> desktop = vt::DesktopFolder();
  if (!desktop) return nullptr;
  wchar_t wide[MAX_PATH * 2];
  if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH * 2)) return nullptr;
  LPITEMIDLIST list = nullptr;
  HRESULT hr = desktop->ParseDisplayName(nullptr, nullptr, wide, nullptr, &list, nullptr);
  return SUCCEEDED(hr) ? list : nullptr;
}

std::string PathOf(LPCITEMIDLIST list) {
  char path[MAX_PATH] = {0};
  if (!SHGetPathFromIDListA(list, path)) return {};
  return path;
}

using OwnedList = vt::ItemListPtr;

// A file of `size` bytes in a fresh folder, removed afterwards.
class TempFile {
 public:
  TempFile(const char* name, std::size_t size) {
    folder_ = vtt::TempDir() + "vt-utils-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    path_ = folder_ + "\\" + name;
    vtt::WriteFileText(path_, std::string(size, 'v'));
  }
  ~TempFile() {
    DeleteFileA(path_.c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  const std::string& Path() const { return path_; }
  const std::string& Folder() const { return folder_; }

 private:
  std::string folder_, path_;
};

class Shell : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }
};

// A drive letter that has no drive in this prefix.
std::string MissingDrive() {
  DWORD drives = GetLogicalDrives();
  for (char letter = 'Q'; letter <= 'Y'; ++letter)
    if (!(drives & (1u << (letter - 'A')))) return std::string(1, letter) + ":\\";
  return {};
}

TEST(Existence, FilesAndFoldersWithoutErrorBoxes) {
  TempFile file("there.txt", 10);
  EXPECT_TRUE(vt::FileThere(file.Path()));
  EXPECT_FALSE(vt::FolderThere(file.Path()));
  EXPECT_TRUE(vt::FolderThere(file.Folder()));
  EXPECT_FALSE(vt::FileThere(file.Folder()));
  EXPECT_FALSE(vt::FileThere(file.Folder() + "\\missing.txt"));
  EXPECT_FALSE(vt::FolderThere(file.Folder() + "\\missing"));
  EXPECT_FALSE(vt::FileThere(""));
  EXPECT_FALSE(vt::FolderThere(""));
  EXPECT_FALSE(vt::FileThere(file.Path() + std::string("\0x", 2)));  // never a shorter path

  std::string drive = MissingDrive();
  ASSERT_FALSE(drive.empty());
  // The caller's own error mode is back in place afterwards.
  SetErrorMode(SEM_NOOPENFILEERRORBOX);
  EXPECT_FALSE(vt::FolderThere(drive));
  EXPECT_FALSE(vt::FileThere(drive + "file.txt"));
  EXPECT_EQ(SetErrorMode(0), static_cast<UINT>(SEM_NOOPENFILEERRORBOX));
  EXPECT_TRUE(vtt::TopWindows(GetCurrentProcessId(), "#32770").empty());
}

struct ShellCall {
  std::string file;
  int result = -1;
};

DWORD WINAPI RunShellCall(LPVOID p) {
  auto* call = static_cast<ShellCall*>(p);
  call->result = vt::OpenWithShell(call->file, "", "", SW_SHOWNORMAL);
  return 0;
}

TEST(OpenWithShell, RefusesOverlongTextsInsteadOfCutting) {
  TempFile file("target.vtnone", 1);
  std::string longFile = file.Folder() + "\\" + std::string(300, 'a');
  EXPECT_EQ(vt::OpenWithShell(longFile, "", "", SW_SHOWNORMAL), 0);
  EXPECT_EQ(vt::OpenWithShell(file.Path(), std::string(257, 'p'), "", SW_SHOWNORMAL), 0);
  EXPECT_EQ(vt::OpenWithShell(file.Path(), "", std::string(257, 'f'), SW_SHOWNORMAL), 0);
  EXPECT_EQ(vt::OpenWithShell(std::string("x\0y", 3), "", "", SW_SHOWNORMAL), 0);

  // 256 characters still reach the shell, which answers with its own error code (1..32)
  // for a file that does not exist; bounded so that a box the shell might show fails the test.
  std::string missing = file.Folder() + "\\";
  missing += std::string(256 - missing.size() - 4, 'm') + ".txt";
  ASSERT_EQ(missing.size(), 256u);
  ShellCall call{missing};
  HANDLE thread = CreateThread(nullptr, 0, RunShellCall, &call, 0, nullptr);
  ASSERT_TRUE(thread);
  bool ended = WaitForSingleObject(thread, 20000) == WAIT_OBJECT_0;
  CloseHandle(thread);
  // A thread still inside the shell keeps using `call`: end the whole test process instead.
  if (!ended) {
    ADD_FAILURE() << "ShellExecuteA did not return";
    ExitProcess(3);
  }
  int result = call.result;
  EXPECT_GT(result, 0);
  EXPECT_LE(result, 32);
}

TEST_F(Shell, ConcatJoinsRealShellLists) {
  OwnedList full(ListOf("C:\\windows\\system32"));
  ASSERT_TRUE(full);
  ASSERT_GE(vt::ItemListCount(full.get()), 2u);
  OwnedList parent(vt::ItemListCopy(full.get()));
  ASSERT_TRUE(parent);
  vt::ItemListCutLast(parent.get());
  EXPECT_EQ(PathOf(parent.get()), "C:\\windows");
  OwnedList child = vt::ItemListLastCopy(full.get());
  ASSERT_TRUE(child);
  EXPECT_EQ(vt::ItemListCount(child.get()), 1u);

  OwnedList joined = vt::ConcatIdLists(parent.get(), child.get());
  ASSERT_TRUE(joined);
  EXPECT_TRUE(vt::ItemListSame(joined.get(), full.get()));
  EXPECT_EQ(PathOf(joined.get()), "C:\\windows\\system32");

  OwnedList alone = vt::ConcatIdLists(nullptr, full.get());
  ASSERT_TRUE(alone);
  EXPECT_NE(alone.get(), full.get());
  EXPECT_TRUE(vt::ItemListSame(alone.get(), full.get()));
  EXPECT_FALSE(vt::ConcatIdLists(parent.get(), nullptr));

  // Every list made here belongs to the shell's task allocator.
  IMalloc* allocator = nullptr;
  ASSERT_EQ(vt::ShellAllocator(&allocator), S_OK);
  EXPECT_EQ(allocator->DidAlloc(joined.get()), 1);
  EXPECT_EQ(allocator->DidAlloc(child.get()), 1);
  allocator->Release();
}

TEST_F(Shell, FolderOfItemListBindsTheDesktopAndFolders) {
  LPITEMIDLIST desktopList = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktopList), S_OK);
  OwnedList desktop(desktopList);
  ASSERT_TRUE(vt::FolderOfItemList(desktop.get()));

  OwnedList windows(ListOf("C:\\windows"));
  ASSERT_TRUE(windows);
  const vt::ComPtr<IShellFolder> folder = vt::FolderOfItemList(windows.get());
  ASSERT_TRUE(folder);
  // The bound folder knows its children.
  LPITEMIDLIST child = nullptr;
  wchar_t name[] = L"system32";
  EXPECT_TRUE(SUCCEEDED(folder->ParseDisplayName(nullptr, nullptr, name, nullptr, &child, nullptr)));
  vt::ItemListFree(child);
  EXPECT_FALSE(vt::FolderOfItemList(nullptr));
}

TEST_F(Shell, FileInfoOfRealFiles) {
  TempFile file("sized.bin", 1536);
  OwnedList list(ListOf(file.Path()));
  ASSERT_TRUE(list);
  std::int64_t size = 0;
  double date = 0;
  vt::FileInfoOfItem(list.get(), size, date);
  EXPECT_EQ(size, 1536);

  // The last-write time, local, as days since 30 December 1899 with the time as the fraction.
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  ASSERT_TRUE(GetFileAttributesExA(file.Path().c_str(), GetFileExInfoStandard, &attributes));
  FILETIME local;
  SYSTEMTIME st;
  ASSERT_TRUE(FileTimeToLocalFileTime(&attributes.ftLastWriteTime, &local));
  ASSERT_TRUE(FileTimeToSystemTime(&local, &st));
  double expected = 0;
  ASSERT_TRUE(SystemTimeToVariantTime(&st, &expected));  // whole seconds
  EXPECT_NEAR(date, expected, 1.5 / 86400);

  TempFile empty("empty.bin", 0);
  OwnedList emptyList(ListOf(empty.Path()));
  ASSERT_TRUE(emptyList);
  vt::FileInfoOfItem(emptyList.get(), size, date);
  EXPECT_EQ(size, -1);  // an empty file reports no size
  EXPECT_GT(date, 0);

  vt::FileInfoOfItem(nullptr, size, date);
  EXPECT_EQ(size, -1);
  EXPECT_EQ(date, -1.0);
}

TEST(FrameMetrics, ShowDlgBorderZeroesUnlessForced) {
  int w = -1, h = -1, c = -1;
  vt::SetShowDlgBorder(true);
  EXPECT_TRUE(vt::GetFrameMetrics(w, h, c, false));
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(c, 0);
  EXPECT_TRUE(vt::GetFrameMetrics(w, h, c, true));
  EXPECT_EQ(w, GetSystemMetrics(SM_CXFRAME));
  EXPECT_EQ(c, GetSystemMetrics(SM_CYCAPTION));
  vt::SetShowDlgBorder(false);
  EXPECT_FALSE(vt::GetFrameMetrics(w, h, c, false));
  EXPECT_EQ(h, GetSystemMetrics(SM_CYFRAME));
  EXPECT_GT(c, 0);
}

TEST(PingAllWindows, PostsTheQueryToOurOwnWindow) {
  HWND window = CreateWindowExA(0, "STATIC", "vt-ping", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(window);
  MSG msg;
  while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
  }
  vt::PingAllWindows();
  bool seen = false;
  while (PeekMessageA(&msg, window, WM_NULL, WM_NULL, PM_REMOVE))
    if (msg.wParam == 123 && msg.lParam == 0) seen = true;
  EXPECT_TRUE(seen);
  DestroyWindow(window);
}

TEST(SharedBlockHelpers, IgnoreListInTheLocaleUpperCase) {
  auto block = std::make_unique<vt::SharedBlock>();
  std::memset(block.get(), 0, sizeof(vt::SharedBlock));
  // The user's code page decides upper case, not ASCII alone.
  char accented[] = "\xE9t\xE9.exe";
  char upper[sizeof accented];
  std::memcpy(upper, accented, sizeof accented);
  CharUpperBuffA(upper, sizeof accented - 1);
  vt::PutIgnoreList(*block, {"note.exe", accented, std::string(80, 'a')}, vt::AnsiUpperCase);
  EXPECT_EQ(vt::SharedIgnoreEntry(*block, 0), "NOTE.EXE");
  EXPECT_EQ(vt::SharedIgnoreEntry(*block, 1), upper);
  EXPECT_EQ(block->IgnoreList[2][0], '\0');  // the overlong name is left out
}

}  // namespace
