#include "panel/Navigator.h"

#include <shlobj.h>

#include "panel/DialogControls.h"
#include "protocol/Messages.h"
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

ItemListPtr Copy(const ITEMIDLIST* list) { return ItemListPtr(list ? ItemListCopy(list) : nullptr); }
}  // namespace

void Navigator::Attach(HWND focusAfter) {
  focusAfter_ = focusAfter;
  fileNameEdit_ = FileNameBoxOf(ctx_.dialog);
  LPITEMIDLIST desktop = nullptr;
  SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop);
  desktop_.reset(desktop);
}

void Navigator::Release() {
  desktop_.reset();
  currentFolder_.reset();
  selectedItem_.reset();
  reply_.reset();
}

std::string Navigator::FileNameText() const {
  if (!fileNameEdit_) return {};
  char text[2049] = {};
  SendMessageA(fileNameEdit_, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  text[sizeof text - 1] = 0;
  return text;
}

void Navigator::StartWait(WPARAM mode) {
  waitCount_ = kWaitCycles;
  ctx_.Post(VTM_NAVWAIT, mode);
}

void Navigator::NavigateToFolder(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  savedEditText_ = FileNameText();
  viewBeforeNavigation_ = FolderViewOf(ctx_.dialog).view;
  if (fileNameEdit_) SendMessageA(fileNameEdit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  // Only now: the panel's own text had to reach the box.
  ctx_.slot.CatchFileNameText = 1;
  if (fileNameEdit_) {
    const WPARAM id = static_cast<WPARAM>(GetDlgCtrlID(fileNameEdit_)) & 0xFFFF;
    PostMessageA(ctx_.dialog, WM_COMMAND, (static_cast<WPARAM>(EN_CHANGE) << 16) | id,
                 reinterpret_cast<LPARAM>(fileNameEdit_));
    SetFocus(fileNameEdit_);
    PostMessageA(fileNameEdit_, WM_KEYDOWN, VK_RETURN, 0);
  }
  StartWait(0);
}

void Navigator::NavigateToLink(const std::string& linkPath) {
  savedEditText_ = FileNameText();
  viewBeforeNavigation_ = FolderViewOf(ctx_.dialog).view;
  const std::size_t slash = linkPath.find_last_of('\\');
  std::string name = slash == std::string::npos ? linkPath : linkPath.substr(slash + 1);
  const std::size_t mark = name.find_last_of(".\\:");
  if (mark != std::string::npos && name[mark] == '.') name.erase(mark);
  targetItemName_ = name;
  const std::string folder = slash == std::string::npos ? std::string() : linkPath.substr(0, slash + 1);
  if (fileNameEdit_) {
    SendMessageA(fileNameEdit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    SetFocus(fileNameEdit_);
    PostMessageA(fileNameEdit_, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(fileNameEdit_, WM_KEYUP, VK_RETURN, 0);
  }
  StartWait(1);
}

void Navigator::Wait(WPARAM mode) {
  if (waitCount_ > 0) {
    MSG m;
    for (int i = 0; i < kMaxMessagesPerCycle && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
      if (m.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(m.wParam));  // the main loop must still see it
        break;
      }
      Window::DispatchSafely(m);
    }
    // A dialog gone with its program (killed) must not hold the wait, nor with it this
    // thread and every other panel's timers, for the wait's whole bound.
    if (ctx_.closing || !ctx_.Wnd() || !IsWindow(ctx_.dialog)) return;
    const HWND view = FolderViewOf(ctx_.dialog).view;
    if (!view || view == viewBeforeNavigation_) {
      --waitCount_;
      Sleep(kWaitCycleMs);
      ctx_.Post(VTM_NAVWAIT, mode);
      return;
    }
  }
  waitCount_ = 0;
  ctx_.slot.CatchFileNameText = 0;
  if (fileNameEdit_) SendMessageA(fileNameEdit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(savedEditText_.c_str()));
  if (mode != 1) {
    SetFocus(focusAfter_);
    return;
  }
  COPYDATASTRUCT cds{};
  cds.dwData = VTCD_OPENITEM;
  cds.cbData = static_cast<DWORD>(targetItemName_.size() + 1);
  cds.lpData = const_cast<char*>(targetItemName_.c_str());
  const FolderViewWindows view = FolderViewOf(ctx_.dialog);
  viewBeforeNavigation_ = view.view;
  SetFocus(view.list);
  SendMessageA(ctx_.dialog, WM_COPYDATA, reinterpret_cast<WPARAM>(ctx_.Wnd()), reinterpret_cast<LPARAM>(&cds));
  StartWait(0);
}

void Navigator::TextCaught(std::string_view text) {
  if (ctx_.slot.CatchFileNameText && !text.empty()) savedEditText_.assign(text);
}

void Navigator::FolderReported(const std::optional<ItemListBytesView>& list) {
  reply_.reset(list ? ItemListCopy(static_cast<LPCITEMIDLIST>(list->data)) : nullptr);
}

Navigator::ScanResult Navigator::Scan() {
  if (!ctx_.Active()) return ScanResult::Unchanged;
  if (!IsWindow(ctx_.dialog)) return ScanResult::Gone;
  DWORD_PTR result = static_cast<DWORD_PTR>(-1);
  if (!SendMessageTimeoutA(ctx_.dialog, VTM_GETFOLDER, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kFolderQueryTimeoutMs,
                           &result))
    return ScanResult::Unchanged;  // no answer counts like a dropped-down folder box
  switch (static_cast<LRESULT>(result)) {
    case 0:
      selectedItem_.reset();
      currentFolder_.reset();
      break;
    case 1:
      currentFolder_ = Copy(reply_.get());
      selectedItem_.reset();
      break;
    case 2:
      selectedItem_ = Copy(reply_.get());
      if (reply_) ItemListCutLast(reply_.get());
      currentFolder_ = Copy(reply_.get());
      break;
    default:
      return ScanResult::Unchanged;
  }
  return ScanResult::Reported;
}

void Navigator::OpenStartFolder(int opMode) {
  const AppSettings s = ReadAppSettings(*ctx_.env.registry, ctx_.appName);
  if (opMode == kOpModeLastFolder) {
    if (s.lastOpenFolder && FolderThere(*s.lastOpenFolder) && *s.lastOpenFolder != ctx_.env.programFolder + "Links")
      NavigateToFolder(*s.lastOpenFolder);
  } else if (opMode == kOpModeUserFolder) {
    if (!s.userOpenFolder.empty() && FolderThere(s.userOpenFolder)) NavigateToFolder(s.userOpenFolder);
  }
}

std::optional<std::string> Navigator::CurrentFolderPath() const {
  char path[2049] = {};
  if (currentFolder_ && SHGetPathFromIDListA(currentFolder_.get(), path) && path[0] &&
      !ItemListSame(currentFolder_.get(), desktop_.get()))
    return std::string(path);
  return std::nullopt;
}

}  // namespace vt
