#include "panel/Preview.h"

#include <commctrl.h>
#include <shellapi.h>

#include "panel/DCImageInfo.h"
#include "protocol/Messages.h"
#include "util/AnsiText.h"
#include "util/FileFacts.h"
#include "util/IdList.h"
#include "util/PathExists.h"
#include "util/ShellIdList.h"
#include "util/SizeText.h"

namespace vt {

namespace {

constexpr int kLabelLeft = 10;
constexpr int kLabelHeight = 14;
constexpr int kLineStep = 15;

std::string PathOfItemList(LPCITEMIDLIST list) {
  char path[8193] = {};
  if (!list || !SHGetPathFromIDListA(list, path)) return {};
  return path;
}

// Days since 30 December 1899 in local time, as the user's short date and time.
std::string DateText(double date) {
  constexpr double kDaysFrom1601To1899 = 109205.0;
  const auto ticks = static_cast<ULONGLONG>((date + kDaysFrom1601To1899) * 864000000000.0);
  FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME st;
  if (!FileTimeToSystemTime(&ft, &st)) return {};
  char day[128] = {}, time[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, day, sizeof day);
  GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, time, sizeof time);
  return std::string(day) + ", " + time;
}

}  // namespace

void Preview::Create() {
  picture_ = PreviewView::Create(form_.PreviewArea());
  Layout();
  UpdatePreviewInfo();
}

void Preview::Layout() {
  if (picture_) {
    picture_->FillParent();
    // A still picture is decoded at the size it is shown; the one on screen is stretched to the
    // new area until its sharper copy arrives.
    const Size area = picture_->Area();
    if ((requestedKind_ == PreviewKind::Bmp || requestedKind_ == PreviewKind::Jpeg) && !(area == requestedArea_))
      Request(requestedFile_, requestedKind_);
  }
  RECT c{};
  GetClientRect(form_.InfoArea(), &c);
  const int width = std::max<int>(0, c.right - 2 * kLabelLeft);
  for (HWND label : form_.InfoLabels()) {
    RECT r{};
    GetWindowRect(label, &r);
    MapWindowPoints(nullptr, form_.InfoArea(), reinterpret_cast<POINT*>(&r), 2);
    MoveWindow(label, kLabelLeft, r.top, width, kLabelHeight, TRUE);
  }
}

void Preview::UpdateStatusBar(LPCITEMIDLIST currentFolder) {
  // Asked twice a second: the shell is asked for the path only when the folder changed.
  if (!currentFolder && !statusFolder_) return;
  if (currentFolder && statusFolder_ && ItemListSame(currentFolder, statusFolder_.get())) return;
  statusFolder_ = ItemListCopy(currentFolder);  // none for no folder
  const std::string text = PathOfItemList(currentFolder);
  SendMessageA(form_.StatusBar(), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Preview::UpdatePreview(LPCITEMIDLIST currentFolder, LPCITEMIDLIST selectedItem) {
  UpdateStatusBar(currentFolder);
  if (!form_.Boxes().Placed(form_.bxRight)) return;  // the column is switched off
  LPCITEMIDLIST target = selectedItem ? selectedItem : currentFolder;
  if (!target && !PreviewIdList) return;
  if (target && PreviewIdList && ItemListSame(target, PreviewIdList.get())) return;
  PreviewIdList = ItemListCopy(target);
  PreviewPath = PathOfItemList(PreviewIdList.get());
  LoadTarget();
  ReadFacts();
  UpdatePreviewInfo();
}

// A folder never gives a file; the picture of the previous target goes at once, so that it
// can never stand beside the new target's name.
void Preview::LoadTarget() {
  const std::string file = !PreviewPath.empty() && FileThere(PreviewPath) ? PreviewPath : std::string();
  const PreviewKind kind = file.empty() ? PreviewKind::None : PreviewKindOf(file, settings_.Switches());
  if (picture_) picture_->Clear();
  if (kind != PreviewKind::None) {
    Request(file, kind);
    return;
  }
  ++generation_;
  requestedKind_ = PreviewKind::None;
  if (worker_) worker_->Cancel(generation_);
}

void Preview::Request(const std::string& file, PreviewKind kind) {
  if (!picture_) return;
  ++generation_;
  requestedFile_ = file;
  requestedKind_ = kind;
  requestedArea_ = picture_->Area();
  if (!worker_) worker_ = std::make_unique<PreviewWorker>(ctx_.Wnd(), VTM_PREVIEWREADY);
  worker_->Request(file, kind, requestedArea_, generation_);
}

void Preview::PictureReady(WPARAM generation) {
  if (!worker_ || !picture_) return;
  std::optional<PreviewPicture> ready = worker_->TakeResult(static_cast<std::uint32_t>(generation));
  if (!ready) return;
  const bool wasEmpty = picture_->Empty();
  if (ready->animation) picture_->ShowAnimation(std::move(ready->animation));
  else if (!ready->still.Empty()) picture_->ShowStill(std::move(ready->still), ready->imageSize);
  else picture_->Clear();
  if (wasEmpty != picture_->Empty()) UpdatePreviewInfo();
}

void Preview::ReadFacts() {
  facts_ = Facts{};
  if (!PreviewIdList) return;
  SHFILEINFOA info{};
  if (SHGetFileInfoA(reinterpret_cast<LPCSTR>(PreviewIdList.get()), 0, &info, sizeof info,
                     SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_TYPENAME)) {
    facts_.name = info.szDisplayName;
    facts_.type = info.szTypeName;
  }
  if (!PreviewPath.empty()) FileInfoOfItem(PreviewIdList.get(), facts_.fileSize, facts_.date);
}

void Preview::PlaceLabel(HWND label, const std::string& text, int& y, bool stack) {
  RECT r{};
  GetWindowRect(label, &r);
  MapWindowPoints(nullptr, form_.InfoArea(), reinterpret_cast<POINT*>(&r), 2);
  if (stack) {
    // A label is moved only when it gets a text.
    MoveWindow(label, r.left, y, r.right - r.left, kLabelHeight, TRUE);
    y += kLineStep;
  }
  SetWindowTextA(label, text.c_str());
}

void Preview::UpdatePreviewInfo() {
  const PanelForm::PreviewLabels l = form_.Labels();
  // The lower lines stack from 20 pixels below the type's line, wherever the form put it.
  RECT type{};
  GetWindowRect(l.type, &type);
  MapWindowPoints(nullptr, form_.InfoArea(), reinterpret_cast<POINT*>(&type), 2);
  int y = type.top + 20;
  PlaceLabel(l.name, facts_.name, y, false);
  PlaceLabel(l.type, facts_.type, y, false);
  std::string pictureLine;
  if (picture_ && !picture_->Empty() && !PreviewPath.empty()) {
    if (!facts_.pictureLineRead) {
      facts_.pictureLineRead = true;
      TDCImageInfo header;
      header.ReadInfo(PreviewPath);
      if (header.Format != kFormatUnknown)
        facts_.pictureLine = "Size: " + std::to_string(header.Width) + " x " + std::to_string(header.Height) + " x " +
                             std::to_string(header.BitsPerPixel) + "bit";
    }
    pictureLine = facts_.pictureLine;
  }
  PlaceLabel(l.rect, pictureLine, y, !pictureLine.empty());
  const std::string size =
      facts_.fileSize >= 0 ? "File Size: " + SizeToText(facts_.fileSize, LocaleDecimalSeparator()) : std::string();
  PlaceLabel(l.size, size, y, !size.empty());
  const std::string date = facts_.date >= 0 ? "Modified: " + DateText(facts_.date) : std::string();
  PlaceLabel(l.mod, date, y, !date.empty());
}

void Preview::Release() {
  worker_.reset();  // abandons any decoding and waits for the thread
  requestedKind_ = PreviewKind::None;
  if (picture_) picture_->Clear();
  PreviewIdList.reset();
  statusFolder_.reset();
  PreviewPath.clear();
}

}  // namespace vt
