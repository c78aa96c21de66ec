#include "panel/Navigator.h"

#include <shlobj.h>

#include "util/DialogChildren.h"
#include "protocol/Messages.h"
#include "settings/Catalogue.h"
#include "util/ShellIdList.h"
#include "util/PathExists.h"

namespace vt {

namespace {
constexpr int kWaitCycles = 100;
constexpr UINT kWaitCycleMs = 50;

ItemListPtr Copy(const ITEMIDLIST* list) { return list ? ItemListCopy(list) : ItemListPtr(); }
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

std::optional<std::string> Navigator::FileNameText() const {
  if (!fileNameEdit_) return std::string();
  char text[2049] = {};
  if (!ctx_.channel.SendTo(fileNameEdit_, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text))) return std::nullopt;
  text[sizeof text - 1] = 0;
  return std::string(text);
}

void Navigator::SetFileNameText(const std::string& text) const {
  if (fileNameEdit_) ctx_.channel.SendTo(fileNameEdit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Navigator::StartWait(WaitFor what) {
  waitCount_ = kWaitCycles;
  waitFor_ = what;
  SetTimer(ctx_.Wnd(), kNavigationTimer, kWaitCycleMs, nullptr);
}

void Navigator::EndWait() {
  waitCount_ = 0;
  if (ctx_.Wnd()) KillTimer(ctx_.Wnd(), kNavigationTimer);
}

void Navigator::NavigateToFolder(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  // A dialog that does not answer is not driven: the click is lost, not the panel.
  const std::optional<std::string> text = FileNameText();
  if (!text) return;
  savedEditText_ = *text;
  viewBeforeNavigation_ = ShownFolderView(ctx_.dialog);
  SetFileNameText(path);
  // Only now: the panel's own text had to reach the box.
  ctx_.slot.CatchFileNameText = 1;
  if (fileNameEdit_) {
    const WPARAM id = static_cast<WPARAM>(GetDlgCtrlID(fileNameEdit_)) & 0xFFFF;
    PostMessageA(ctx_.dialog, WM_COMMAND, (static_cast<WPARAM>(EN_CHANGE) << 16) | id,
                 reinterpret_cast<LPARAM>(fileNameEdit_));
    SetFocus(fileNameEdit_);
    PostMessageA(fileNameEdit_, WM_KEYDOWN, VK_RETURN, 0);
  }
  StartWait(WaitFor::Folder);
}

void Navigator::NavigateToLink(const std::string& linkPath) {
  const std::optional<std::string> text = FileNameText();
  if (!text) return;
  savedEditText_ = *text;
  viewBeforeNavigation_ = ShownFolderView(ctx_.dialog);
  const std::size_t slash = linkPath.find_last_of('\\');
  std::string name = slash == std::string::npos ? linkPath : linkPath.substr(slash + 1);
  const std::size_t mark = name.find_last_of(".\\:");
  if (mark != std::string::npos && name[mark] == '.') name.erase(mark);
  targetItemName_ = name;
  const std::string folder = slash == std::string::npos ? std::string() : linkPath.substr(0, slash + 1);
  if (fileNameEdit_) {
    SetFileNameText(folder);
    SetFocus(fileNameEdit_);
    PostMessageA(fileNameEdit_, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(fileNameEdit_, WM_KEYUP, VK_RETURN, 0);
  }
  StartWait(WaitFor::LinkFolder);
}

void Navigator::Wait() {
  // A dialog gone with its program (killed) ends the wait: nothing will come of it.
  if (ctx_.closing || !ctx_.Wnd() || !IsWindow(ctx_.dialog)) {
    EndWait();
    return;
  }
  if (waitCount_ > 0) {
    const HWND view = ShownFolderView(ctx_.dialog);
    if (!view || view == viewBeforeNavigation_) {
      --waitCount_;
      return;
    }
  }
  EndWait();
  ctx_.slot.CatchFileNameText = 0;
  SetFileNameText(savedEditText_);
  if (waitFor_ != WaitFor::LinkFolder) {
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
  ctx_.channel.Send(WM_COPYDATA, reinterpret_cast<WPARAM>(ctx_.Wnd()), reinterpret_cast<LPARAM>(&cds));
  StartWait(WaitFor::Folder);
}

void Navigator::TextCaught(std::string_view text) {
  if (ctx_.slot.CatchFileNameText && !text.empty()) savedEditText_.assign(text);
}

void Navigator::FolderReported(const std::optional<ItemListBytesView>& list) {
  reply_ = list ? ItemListCopy(static_cast<LPCITEMIDLIST>(list->data)) : ItemListPtr();
}

Navigator::ScanResult Navigator::Scan() {
  if (!ctx_.Active()) return ScanResult::Unchanged;
  if (!IsWindow(ctx_.dialog)) return ScanResult::Gone;
  LRESULT result = -1;
  // No answer counts like a dropped-down folder box; a dialog known not to answer is not asked.
  if (!ctx_.channel.Send(VTM_GETFOLDER, 0, 0, &result)) return ScanResult::Unchanged;
  switch (result) {
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

bool Navigator::ShowsFolder(const std::string& path) {
  if (Scan() != ScanResult::Reported) return false;
  const std::optional<std::string> shown = CurrentFolderPath();
  if (!shown) return false;
  auto bare = [](std::string p) {
    while (p.size() > 3 && p.back() == '\\') p.pop_back();
    return p;
  };
  return lstrcmpiA(bare(*shown).c_str(), bare(path).c_str()) == 0;
}

void Navigator::OpenStartFolder(int opMode) {
  const AppSettings s = ReadAppSettings(*ctx_.env.registry, ctx_.appName);
  std::string target;
  if (opMode == kOpModeLastFolder) {
    if (s.lastOpenFolder && FolderThere(*s.lastOpenFolder) && *s.lastOpenFolder != ctx_.env.programFolder + "Links")
      target = *s.lastOpenFolder;
  } else if (opMode == kOpModeUserFolder) {
    if (!s.userOpenFolder.empty() && FolderThere(s.userOpenFolder)) target = s.userOpenFolder;
  }
  // A dialog that opened there already is left alone: its view would not change, and the
  // path would stand in its box for the whole wait.
  if (!target.empty() && !ShowsFolder(target)) NavigateToFolder(target);
}

std::optional<std::string> Navigator::CurrentFolderPath() const {
  char path[2049] = {};
  if (currentFolder_ && SHGetPathFromIDListA(currentFolder_.get(), path) && path[0] &&
      !ItemListSame(currentFolder_.get(), desktop_.get()))
    return std::string(path);
  return std::nullopt;
}

}  // namespace vt
