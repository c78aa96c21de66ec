#include "panel/HotFolders.h"

#include <shellapi.h>

#include <algorithm>
#include <random>
#include <vector>

#include "kit/ShellDragSource.h"
#include "panel/HotFolderStartup.h"
#include "panel/Shortcut.h"
#include "settings/Catalogue.h"
#include "settings/Product.h"
#include "util/PathExists.h"

namespace vt {

namespace {

// The hot parts of the open panels, all on the one user-interface thread.
std::vector<HotFolders*>& Peers() {
  static std::vector<HotFolders*> peers;
  return peers;
}

// Seeded once from the clock: two shortcuts made within one tick still get two names.
std::uint32_t RandomNumber() {
  static std::mt19937 generator = [] {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return std::mt19937(static_cast<std::uint32_t>(now.QuadPart ^ (now.QuadPart >> 32) ^ GetTickCount()));
  }();
  return generator();
}

}  // namespace

HotFolders::HotFolders(PanelContext& ctx, Navigator& navigator, std::function<void(int)> showOptions)
    : ctx_(ctx), navigator_(navigator), showOptions_(std::move(showOptions)) {
  Peers().push_back(this);
}

HotFolders::~HotFolders() {
  Release();
  auto& peers = Peers();
  peers.erase(std::remove(peers.begin(), peers.end(), this), peers.end());
}

void HotFolders::Attach(TQHotFoldersPanel* list, HWND upBar, HWND downBar) {
  hot_ = list;
  LPITEMIDLIST desktop = nullptr;
  SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop);
  desktopIdList_.reset(desktop);
  if (hot_) hot_->Connect(*this, *this, upBar, downBar);
}

void HotFolders::Release() {
  if (hot_) hot_->Disconnect();
  hot_ = nullptr;
  desktopIdList_.reset();
}

void HotFolders::LoadHotFolders() {
  if (!hot_) return;
  HotFolderList list;
  list.Load(*ctx_.env.registry, kPanelIdListCapacity);
  hot_->Assign(list);
  hot_->Refit();
}

void HotFolders::SaveHotFolders() {
  if (!hot_) return;
  hot_->Entries().Save(*ctx_.env.registry);
  Saved();
}

// The other panels show what was stored, so none of them can write back an older list.
void HotFolders::Saved() {
  for (HotFolders* peer : std::vector<HotFolders*>(Peers()))
    if (peer != this) peer->LoadHotFolders();
}

bool HotFolders::NeedsLink(int i) const {
  if (!hot_ || !hot_->IsEntry(i)) return false;
  if (hot_->HotFolderPath(i).empty()) return true;
  // The Desktop root has a path but is not reached by typing it.
  return desktopIdList_ && ItemListSame(hot_->HotFolderIdList(i), desktopIdList_.get());
}

std::string HotFolders::GetHotFolderLink(int i) {
  if (!hot_ || !hot_->IsEntry(i)) return {};
  const std::string links = LinksFolder(ctx_.env.programFolder) + "\\";
  const std::string& current = hot_->LinkName(i);
  if (!current.empty() && FileThere(links + current)) return links + current;
  std::string name;
  if (NeedsLink(i)) {
    if (!FolderThere(LinksFolder(ctx_.env.programFolder)) &&
        !CreateDirectoryA(LinksFolder(ctx_.env.programFolder).c_str(), nullptr)) {
      MessageBoxA(ctx_.Wnd(), ("Can't create folder: " + LinksFolder(ctx_.env.programFolder)).c_str(),
                  kApplicationTitle, MB_OK | MB_ICONERROR);
      return {};
    }
    // A name in use belongs to another entry's shortcut: draw again rather than overwrite it.
    for (int tries = 0; tries < 8 && (name.empty() || FileThere(links + name)); ++tries)
      name = HotLinkName(RandomNumber());
    CreateShortcut(hot_->HotFolderIdList(i), links + name, "", "");
  }
  hot_->SetLinkName(i, name);
  WriteFolderLink(*ctx_.env.registry, i, name);
  return name.empty() ? std::string() : links + name;
}

void HotFolders::OpenHotFolder(int i) {
  if (!hot_ || !hot_->IsEntry(i)) return;
  if (!NeedsLink(i)) {
    navigator_.NavigateToFolder(hot_->HotFolderPath(i));
    return;
  }
  // Without a shortcut (the Links folder could not be made) there is nowhere to type.
  const std::string before = hot_->LinkName(i);
  const std::string link = GetHotFolderLink(i);
  if (hot_->LinkName(i) != before) Saved();
  if (!link.empty()) navigator_.NavigateToLink(link);
}

void HotFolders::HotMouseDown(POINT at) { hotDown_ = at; }

void HotFolders::HotMouseMove(POINT at, unsigned held) {
  if (!hot_ || hotDragIndex_ != -1 || !HotDragButtons(held)) return;
  if (!HotDragFarEnough(at.x - hotDown_.x, at.y - hotDown_.y)) return;
  const int selected = hot_->Selected();
  if (selected < 0) return;
  LPITEMIDLIST raw = nullptr;
  SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &raw);
  const ItemListPtr root(raw);
  if (!root) return;
  // The entry's list is copied into the drag's data at once: the list may change meanwhile.
  const IdListBytes item = ItemListBytes(hot_->HotFolderIdList(selected));
  ReleaseCapture();
  hotDragIndex_ = selected;
  RunShellDrag(root.get(), reinterpret_cast<LPCITEMIDLIST>(item.data()), DROPEFFECT_LINK,
               (held & kHeldRight) ? MK_RBUTTON : MK_LBUTTON);
  hotDragIndex_ = -1;
}

void HotFolders::HotMouseUp() {
  if (hot_) OpenHotFolder(hot_->Selected());
}

bool HotFolders::IsDroppableFolder(const ShellDropData& data) {
  if (data.ListCount() < 2) return false;
  const IdListBytes& object = data.lists[1];
  if (object == droppableAsked_) return droppable_;
  const auto list = reinterpret_cast<LPCITEMIDLIST>(object.data());
  char path[1025] = {};
  const bool hasPath = SHGetPathFromIDListA(list, path) != FALSE;
  SHFILEINFOA info{};
  SHGetFileInfoA(reinterpret_cast<LPCSTR>(list), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_ATTRIBUTES);
  const bool folder = (info.dwAttributes & SFGAO_FOLDER) != 0;
  droppable_ = (info.dwAttributes & SFGAO_FILESYSTEM) ? folder && hasPath && FolderThere(path) : folder;
  droppableAsked_ = object;
  return droppable_;
}

bool HotFolders::Acceptable(const ShellDropData& data) {
  return data.paths.size() == 1 && !data.paths[0].empty() && data.ListCount() <= 2 && IsDroppableFolder(data);
}

DWORD HotFolders::DropTargetDragOver(const ShellDropData& data, POINT) {
  return Acceptable(data) ? DROPEFFECT_LINK : DROPEFFECT_NONE;
}

DWORD HotFolders::DropTargetDrop(const ShellDropData& data, POINT client) {
  if (!hot_) return DROPEFFECT_NONE;
  const int position = hot_->DropPosition(client.y);
  // A drop refused during the drag is refused here too, whatever the effect shown.
  if (data.ListCount() != 2 || !Acceptable(data)) return DROPEFFECT_NONE;
  const auto dropped = reinterpret_cast<LPCITEMIDLIST>(data.lists[1].data());
  if (hotDragIndex_ != -1 && hotDragIndex_ < hot_->HotFolderCount()) {
    const HotMoveSteps steps = HotMove(position, hotDragIndex_);
    const int at = hot_->InsertHotFolder(steps.insertAt, dropped);
    if (at < 0) return DROPEFFECT_NONE;
    hot_->SetLinkName(at, hot_->LinkName(steps.deleteAt));
    hot_->DeleteHotFolder(steps.deleteAt);
  } else {
    const int at = hot_->InsertHotFolder(position, dropped);
    if (at < 0) return DROPEFFECT_NONE;
    GetHotFolderLink(at);
  }
  hotDragIndex_ = -1;
  SaveHotFolders();
  return DROPEFFECT_LINK;
}

}  // namespace vt
