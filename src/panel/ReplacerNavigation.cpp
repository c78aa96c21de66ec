// Driving the dialog to a folder the way a user would (type the path, press Enter, wait for
// the new folder view, put the user's text back), following the dialog's folder, and the
// start folder.
#include <cstring>

#include "hooklib/Protocol.h"
#include "panel/Replacer.h"
#include "settings/Catalogue.h"
#include "util/ShellIdList.h"
#include "util/UtilsExe.h"

namespace vt {

namespace {
constexpr int kWaitCycles = 100;
constexpr DWORD kWaitCycleMs = 50;
// Enough for any queue a cycle finds; a bound so that a flood of posts cannot hold the wait.
constexpr int kMaxMessagesPerCycle = 10000;
// A dialog whose program hangs must not freeze every panel with it.
constexpr UINT kFolderQueryTimeoutMs = 2000;
}  // namespace

std::string TVTReplacer::FileNameText() const {
  if (!FileNameEdit) return {};
  char text[2049] = {};
  SendMessageA(FileNameEdit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  text[sizeof text - 1] = 0;
  return text;
}

void TVTReplacer::NavigateToFolder(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  SavedEditText = FileNameText();
  LocateFolderView();
  ViewBeforeNavigation = FolderView;
  if (FileNameEdit) SendMessageA(FileNameEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  // Only now: the panel's own text had to reach the box.
  Slot.CatchFileNameText = 1;
  if (FileNameEdit) {
    const WPARAM id = static_cast<WPARAM>(GetDlgCtrlID(FileNameEdit)) & 0xFFFF;
    PostMessageA(DialogWnd, WM_COMMAND, (static_cast<WPARAM>(EN_CHANGE) << 16) | id, reinterpret_cast<LPARAM>(FileNameEdit));
    SetFocus(FileNameEdit);
    PostMessageA(FileNameEdit, WM_KEYDOWN, VK_RETURN, 0);
  }
  WaitCount = kWaitCycles;
  PostMessageA(Wnd, VTM_NAVWAIT, 0, 0);
}

void TVTReplacer::NavigateToLink(const std::string& linkPath) {
  SavedEditText = FileNameText();
  LocateFolderView();
  ViewBeforeNavigation = FolderView;
  const std::size_t slash = linkPath.find_last_of('\\');
  std::string name = slash == std::string::npos ? linkPath : linkPath.substr(slash + 1);
  const std::size_t mark = name.find_last_of(".\\:");
  if (mark != std::string::npos && name[mark] == '.') name.erase(mark);
  TargetItemName = name;
  const std::string folder = slash == std::string::npos ? std::string() : linkPath.substr(0, slash + 1);
  if (FileNameEdit) {
    SendMessageA(FileNameEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    SetFocus(FileNameEdit);
    PostMessageA(FileNameEdit, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(FileNameEdit, WM_KEYUP, VK_RETURN, 0);
  }
  WaitCount = kWaitCycles;
  PostMessageA(Wnd, VTM_NAVWAIT, 1, 0);
}

void TVTReplacer::NavigationWait(WPARAM mode) {
  if (WaitCount > 0) {
    MSG m;
    for (int i = 0; i < kMaxMessagesPerCycle && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
      if (m.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(m.wParam));  // the main loop must still see it
        break;
      }
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (Closing || !Wnd) return;
    LocateFolderView();
    if (!FolderView || FolderView == ViewBeforeNavigation) {
      --WaitCount;
      Sleep(kWaitCycleMs);
      PostMessageA(Wnd, VTM_NAVWAIT, mode, 0);
      return;
    }
  }
  Slot.CatchFileNameText = 0;
  if (FileNameEdit) SendMessageA(FileNameEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(SavedEditText.c_str()));
  if (mode == 0) {
    SetFocus(Hot);
    return;
  }
  COPYDATASTRUCT cds{};
  cds.dwData = VTCD_OPENITEM;
  cds.cbData = static_cast<DWORD>(TargetItemName.size() + 1);
  cds.lpData = const_cast<char*>(TargetItemName.c_str());
  LocateFolderView();
  ViewBeforeNavigation = FolderView;
  SetFocus(FileList);
  SendMessageA(DialogWnd, WM_COPYDATA, reinterpret_cast<WPARAM>(Wnd), reinterpret_cast<LPARAM>(&cds));
  WaitCount = kWaitCycles;
  PostMessageA(Wnd, VTM_NAVWAIT, 0, 0);
}

void TVTReplacer::ScanFolder() {
  if (Slot.State != kSlotActive) return;
  if (!IsWindow(DialogWnd)) {
    // Its program ended without the dialog being destroyed (killed, crashed): nothing will
    // report it, and the panel must not hold its slot and stay on screen for ever.
    Slot.State = kSlotClosing;
    CloseQuery();
    ClosePanel();
    return;
  }
  DWORD_PTR result = static_cast<DWORD_PTR>(-1);
  if (!SendMessageTimeoutA(DialogWnd, VTM_GETFOLDER, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kFolderQueryTimeoutMs, &result))
    return;  // no answer counts like a dropped-down folder box: nothing changes
  switch (static_cast<LRESULT>(result)) {
    case 0:
      ItemListFree(SelectedItem);
      ItemListFree(CurrentFolder);
      SelectedItem = CurrentFolder = nullptr;
      break;
    case 1:
      ItemListFree(CurrentFolder);
      CurrentFolder = ItemListCopy(ReplyIdList);
      ItemListFree(SelectedItem);
      SelectedItem = nullptr;
      break;
    case 2:
      ItemListFree(SelectedItem);
      SelectedItem = ItemListCopy(ReplyIdList);
      if (ReplyIdList) ItemListCutLast(ReplyIdList);
      ItemListFree(CurrentFolder);
      CurrentFolder = ItemListCopy(ReplyIdList);
      break;
    default:
      break;
  }
}

void TVTReplacer::OpenStartFolder() {
  KillTimer(Wnd, 3);
  const AppSettings s = ReadAppSettings(*Env.registry, AppName);
  if (OpMode == kOpModeLastFolder) {
    if (s.lastOpenFolder && FolderThere(*s.lastOpenFolder) && *s.lastOpenFolder != Env.programFolder + "Links")
      NavigateToFolder(*s.lastOpenFolder);
  } else if (OpMode == kOpModeUserFolder) {
    if (!s.userOpenFolder.empty() && FolderThere(s.userOpenFolder)) NavigateToFolder(s.userOpenFolder);
  }
}

}  // namespace vt
