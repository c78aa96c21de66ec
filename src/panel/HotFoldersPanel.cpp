#include "panel/HotFoldersPanel.h"

#include <commctrl.h>
#include <shellapi.h>

#include "settings/Catalogue.h"
#include "util/IdList.h"

namespace vt {

namespace {

constexpr UINT_PTR kSubclassId = 0x486F74;  // any number, the same for adding and removing
constexpr int kListHeight = 10000;          // taller than any column: the bars scroll it

LPCITEMIDLIST AsList(const HotFolderEntry& e) { return reinterpret_cast<LPCITEMIDLIST>(e.idList.data()); }

unsigned HeldNow(WPARAM keys) {
  unsigned held = static_cast<unsigned>(keys) & (kHeldLeft | kHeldRight | kHeldShift | kHeldControl | kHeldMiddle |
                                                 kHeldX1 | kHeldX2);
  if (GetKeyState(VK_MENU) < 0) held |= kHeldAlt;
  return held;
}

POINT PointOf(LPARAM lp) { return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; }

}  // namespace

HIMAGELIST TQHotFoldersPanel::SystemSmallIcons() {
  static HIMAGELIST icons = nullptr;
  if (!icons) {
    SHFILEINFOA info{};
    icons = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (icons) ImageList_SetBkColor(icons, CLR_NONE);
  }
  return icons;
}

std::unique_ptr<TQHotFoldersPanel> TQHotFoldersPanel::Create(HWND column) {
  const DWORD style = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                      LVS_SHAREIMAGELISTS;
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", style, 0, 16, 0, 0, column, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
  if (!list) return nullptr;
  std::unique_ptr<TQHotFoldersPanel> hot(new TQHotFoldersPanel(list));
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_ONECLICKACTIVATE | LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP);
  // The system's small icons, shared: the list never destroys them.
  const HIMAGELIST icons = SystemSmallIcons();
  if (icons) SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons));
  LVCOLUMNA col{};
  col.mask = LVCF_WIDTH;
  col.cx = 96;
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
  SetWindowSubclass(list, ListProc, kSubclassId, reinterpret_cast<DWORD_PTR>(hot.get()));
  return hot;
}

TQHotFoldersPanel::~TQHotFoldersPanel() {
  Disconnect();
  if (IsWindow(list_)) RemoveWindowSubclass(list_, ListProc, kSubclassId);
}

void TQHotFoldersPanel::Connect(HotListEvents& events, ShellDropSink& drops, HWND upBar, HWND downBar) {
  events_ = &events;
  dropTarget_ = ShellDropTarget::Register(list_, drops);
  up_ = upBar;
  down_ = downBar;
  for (HWND bar : {up_, down_})
    if (bar) SetWindowSubclass(bar, ArrowProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void TQHotFoldersPanel::Disconnect() {
  events_ = nullptr;
  dropTarget_.reset();  // before the window goes: the system holds the target by the window
  for (HWND bar : {up_, down_})
    if (bar && IsWindow(bar)) RemoveWindowSubclass(bar, ArrowProc, kSubclassId);
  up_ = down_ = nullptr;
}

LPCITEMIDLIST TQHotFoldersPanel::HotFolderIdList(int i) const {
  return IsEntry(i) ? AsList(entries_.At(i)) : nullptr;
}

std::string TQHotFoldersPanel::HotFolderPath(int i) const {
  char path[1025] = {};
  if (!IsEntry(i) || !SHGetPathFromIDListA(HotFolderIdList(i), path)) return {};
  return path;
}

void TQHotFoldersPanel::AddItem(int at) {
  SHFILEINFOA info{};
  SHGetFileInfoA(reinterpret_cast<LPCSTR>(HotFolderIdList(at)), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX);
  // A folder the shell cannot describe still shows where it is, when it has a path.
  std::string caption = info.szDisplayName[0] ? info.szDisplayName : HotFolderPath(at);
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = at;
  item.pszText = caption.data();
  item.iImage = info.iIcon;
  SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int TQHotFoldersPanel::InsertHotFolder(int i, LPCITEMIDLIST idList) {
  // No longer than the stored list is read back: a longer entry would end the list, and drop
  // every entry after it, at the next load.
  const int at = entries_.Insert(i, idList, static_cast<std::size_t>(kPanelIdListCapacity));
  if (at < 0) return -1;
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  AddItem(at);
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  return at;
}

void TQHotFoldersPanel::DeleteHotFolder(int i) {
  if (!IsEntry(i)) return;
  entries_.Delete(i);
  SendMessageA(list_, LVM_DELETEITEM, static_cast<WPARAM>(i), 0);
}

void TQHotFoldersPanel::Assign(const HotFolderList& list) {
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
  entries_ = list;
  for (int i = 0; i < entries_.Count(); ++i) AddItem(i);
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

int TQHotFoldersPanel::Selected() const {
  const int i = static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  return IsEntry(i) ? i : -1;
}

std::optional<RECT> TQHotFoldersPanel::ItemRect(int i) const {
  RECT r{};
  r.left = LVIR_BOUNDS;
  if (!IsEntry(i) || !SendMessageA(list_, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)))
    return std::nullopt;
  return r;
}

std::optional<int> TQHotFoldersPanel::LastBottom() const {
  const auto r = ItemRect(HotFolderCount() - 1);
  return r ? std::optional<int>(r->bottom) : std::nullopt;
}

int TQHotFoldersPanel::DropPosition(int y) const {
  std::vector<int> centres;
  for (int i = 0; i < HotFolderCount(); ++i)
    if (const auto r = ItemRect(i)) centres.push_back(HotCentre(r->top, r->bottom));
  return HotDropPosition(centres, y);
}

void TQHotFoldersPanel::MoveTo(int top) {
  top_ = top;
  MoveWindow(list_, 0, top_, width_, kListHeight, TRUE);
}

void TQHotFoldersPanel::ColumnResized(int columnWidth, int clientWidth, HotColumn bars) {
  bars_ = bars;
  // Twice the column: the list's own scroll bar stays out of sight.
  width_ = 2 * columnWidth;
  SendMessageA(list_, LVM_SETCOLUMNWIDTH, 0, clientWidth);
  Refit();
}

void TQHotFoldersPanel::Refit() { MoveTo(HotTopAfterResize(top_, LastBottom(), bars_)); }

void TQHotFoldersPanel::ScrollUp() { MoveTo(HotTopAfterUp(top_, bars_)); }

void TQHotFoldersPanel::ScrollDown() {
  if (HotFolderCount() > 0) MoveTo(HotTopAfterDown(top_, LastBottom(), bars_));
}

void TQHotFoldersPanel::ScrollHotIntoView(int i) {
  if (const auto r = ItemRect(i)) MoveTo(HotTopToShow(top_, r->top, r->bottom, bars_));
}

void TQHotFoldersPanel::SelectAt(POINT at) {
  LVHITTESTINFO hit{};
  hit.pt = at;
  const int i = static_cast<int>(SendMessageA(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  if (!IsEntry(i)) {
    // A press beside the entries clears the selection, as the list itself would.
    SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    return;
  }
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&state));
  ScrollHotIntoView(i);
}

// The list's own press handling runs a tracking loop of its own that swallows the release;
// the panel needs press, move and release as they come, so presses are handled here.
LRESULT TQHotFoldersPanel::ListMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  handled = true;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      SetFocus(list_);
      SelectAt(PointOf(lp));
      SetCapture(list_);
      if (events_) events_->HotMouseDown(PointOf(lp));
      return 0;
    case WM_MOUSEMOVE: {
      const LRESULT r = DefSubclassProc(list_, msg, wp, lp);  // hot tracking
      if (events_ && GetCapture() == list_) events_->HotMouseMove(PointOf(lp), HeldNow(wp));
      return r;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (GetCapture() == list_) ReleaseCapture();
      if (events_) events_->HotMouseUp();
      if (msg == WM_RBUTTONUP && events_) {
        POINT screen = PointOf(lp);
        ClientToScreen(list_, &screen);
        events_->HotPopup(screen);
      }
      return 0;
    case WM_KEYDOWN: {
      const LRESULT r = DefSubclassProc(list_, msg, wp, lp);
      if (Selected() >= 0) ScrollHotIntoView(Selected());
      return r;
    }
    case WM_KEYUP: {
      const LRESULT r = DefSubclassProc(list_, msg, wp, lp);
      if (events_) events_->HotKeyUp();
      return r;
    }
    case WM_CONTEXTMENU:
      // From the keyboard (a mouse's comes with the release above).
      if (events_ && lp == -1) {
        POINT screen{0, 0};
        if (const auto r = ItemRect(Selected())) screen = POINT{r->left, r->bottom};
        ClientToScreen(list_, &screen);
        events_->HotPopup(screen);
      }
      return 0;
    case WM_DESTROY:
      Disconnect();
      break;
  }
  handled = false;
  return 0;
}

LRESULT CALLBACK TQHotFoldersPanel::ListProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  try {
    bool handled = false;
    const LRESULT r = reinterpret_cast<TQHotFoldersPanel*>(self)->ListMessage(msg, wp, lp, handled);
    if (handled) return r;
  } catch (...) {
    return 0;  // an exception must not unwind through the system's frames
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(w, ListProc, kSubclassId);
  return DefSubclassProc(w, msg, wp, lp);
}

// The bars scroll once per press, not on release and not repeatedly.
LRESULT CALLBACK TQHotFoldersPanel::ArrowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
    auto* hot = reinterpret_cast<TQHotFoldersPanel*>(self);
    try {
      if (w == hot->up_) hot->ScrollUp();
      else if (w == hot->down_) hot->ScrollDown();
    } catch (...) {
    }
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(w, ArrowProc, kSubclassId);
  return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace vt
