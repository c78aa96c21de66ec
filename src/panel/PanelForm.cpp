#include "panel/PanelForm.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "panel/CaptionPaint.h"
#include "panel/PreviewView.h"

namespace vt {

namespace {

// The bar's items are drawn by the panel; each item's data is its number here, 1-based, so
// that a message naming any other value is not ours to draw.
const char* const kMenuBarCaptions[] = {"File", "Tools", "Help"};

const char* MenuBarCaption(ULONG_PTR data) {
  return data >= 1 && data <= std::size(kMenuBarCaptions) ? kMenuBarCaptions[data - 1] : nullptr;
}

HFONT PanelFont(int weight) {
  return CreateFontA(-11, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, DEFAULT_PITCH | FF_SWISS,
                     "MS Sans Serif");
}

HWND Child(const char* cls, DWORD style, int x, int y, int w, int h, HWND parent) {
  return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

bool PanelForm::RegisterClasses() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  return RegisterWidgets() && PreviewView::Register();
}

HMENU PanelForm::MenuBar() {
  menu_.reset(CreateMenu());
  UniqueMenu popups[] = {UniqueMenu(CreatePopupMenu()), UniqueMenu(CreatePopupMenu()),
                         UniqueMenu(CreatePopupMenu())};
  HMENU file = popups[0].get(), tools = popups[1].get(), help = popups[2].get();
  AppendMenuA(file, MF_STRING, kCmdExplorer, "Explorer");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(file, MF_STRING, kCmdClose, "Close");
  AppendMenuA(tools, MF_STRING, kCmdFileSearch, "File Search");
  AppendMenuA(tools, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(tools, MF_STRING, kCmdMainOptions, "Main Options...");
  AppendMenuA(tools, MF_STRING, kCmdStartupOptions, "Startup Options");
  AppendMenuA(help, MF_STRING, kCmdContents, "Contents");
  AppendMenuA(help, MF_STRING, kCmdVisitSite, "Visit Vantrel Site");
  AppendMenuA(help, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(help, MF_STRING, kCmdAbout, "About Vantrel");
  // Owner-drawn items: the item data is the item's number, 1 to 3.
  for (UINT_PTR i = 0; i < std::size(popups); ++i)
    AppendPopup(menu_.get(), MF_OWNERDRAW, std::move(popups[i]), reinterpret_cast<LPCSTR>(i + 1));
  return menu_.get();
}

HWND PanelForm::Adopt(std::unique_ptr<Container> c) {
  if (!c) return nullptr;
  HWND h = c->Handle();
  children_.push_back(std::move(c));
  return h;
}

void PanelForm::CreateComponents(HWND form) {
  form_ = form;
  formFont_.reset(PanelFont(FW_NORMAL));
  boldFont_.reset(PanelFont(FW_BOLD));

  // The boxes, in the order their strips are taken.
  const BoxId root = DockLayout::kRoot;
  bxStatus = layout_.Add(root, Align::Bottom, 19);
  bxLeft = layout_.Add(root, Align::Left, 100);
  layout_.SetBorder(bxLeft, 1);
  bxUp = layout_.Add(bxLeft, Align::Top, 16);
  bxDown = layout_.Add(bxLeft, Align::Bottom, 16);
  bxRight = layout_.Add(root, Align::Right, 150);
  bxInfo = layout_.Add(bxRight, Align::Bottom, 150);
  bxPreview = layout_.Add(bxRight, Align::Client);
  bxCenter = layout_.Add(root, Align::Client);
  bxDlg = layout_.Add(bxCenter, Align::Client);
  bxSplitLeft = layout_.AddSplitter(root, Align::Left, 3, bxLeft, bxDlg, 50);
  bxSplitRight = layout_.AddSplitter(root, Align::Right, 3, bxRight, bxDlg, 140);

  stbar_ = Child(STATUSCLASSNAMEA, CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 0, 0, 0, form);
  pnLeft_ = Adopt(Container::Create(form, true));
  pnUp_ = Adopt(Container::Create(pnLeft_, false));
  pnDown_ = Adopt(Container::Create(pnLeft_, false));
  // Arrow buttons, drawn by the form (no symbol font is needed).
  sbUp_ = Child("BUTTON", BS_OWNERDRAW, 3, 1, 91, 14, pnUp_);
  sbDown_ = Child("BUTTON", BS_OWNERDRAW, 3, 1, 91, 14, pnDown_);
  hot_ = TQHotFoldersPanel::Create(pnLeft_);
  auto left = Splitter::Create(form, true);
  splitleft_ = left ? left->Handle() : nullptr;
  children_.push_back(std::move(left));
  pncenter_ = Adopt(Container::Create(form, false));
  auto hole = Container::Create(pncenter_, false);
  pndlg_ = hole.get();
  Adopt(std::move(hole));
  auto right = Splitter::Create(form, true);
  splitright_ = right ? right->Handle() : nullptr;
  children_.push_back(std::move(right));
  pnRight_ = Adopt(Container::Create(form, false));
  pnPreview_ = Adopt(Container::Create(pnRight_, false));
  pnInfo_ = Adopt(Container::Create(pnRight_, false, true));  // Bevel1 is its etched frame
  // Name and type at fixed places; the preview stacks the other three below them as they get
  // texts. The design captions are emptied at once: the preview fills them in.
  HWND* labels[] = {&lbpname_, &lbptype_, &lbpmod_, &lbpsize_, &lbprect_};
  const int tops[] = {6, 21, 41, 41, 41};
  for (int i = 0; i < 5; ++i)
    *labels[i] = Child("STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_ENDELLIPSIS, 10, tops[i], 130, 14, pnInfo_);
  for (HWND w : {stbar_, Hot(), lbptype_, lbpmod_, lbpsize_, lbprect_})
    SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_.get()), FALSE);
  SendMessageA(lbpname_, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
}

void PanelForm::PlaceBox(BoxId box, HWND window) {
  if (!window) return;
  if (!layout_.Placed(box)) {
    placed_.erase(box);
    if (IsWindowVisible(window)) ShowWindow(window, SW_HIDE);
    return;
  }
  const Rect r = layout_.BoundsInParent(box);
  const auto last = placed_.find(box);
  if (last == placed_.end() || !(last->second == r)) {
    MoveWindow(window, r.left, r.top, static_cast<int>(r.Width()), static_cast<int>(r.Height()), TRUE);
    placed_[box] = r;
  }
  if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNA);
}

bool PanelForm::Layout() {
  RECT c;
  GetClientRect(form_, &c);
  const Rect before = layout_.RectOf(bxDlg);
  layout_.Layout(Rect{0, 0, c.right, c.bottom});
  const std::pair<BoxId, HWND> boxes[] = {
      {bxStatus, stbar_}, {bxLeft, pnLeft_}, {bxUp, pnUp_}, {bxDown, pnDown_}, {bxSplitLeft, splitleft_},
      {bxCenter, pncenter_}, {bxDlg, Hole()}, {bxSplitRight, splitright_}, {bxRight, pnRight_},
      {bxPreview, pnPreview_}, {bxInfo, pnInfo_}};
  for (const auto& [box, window] : boxes) PlaceBox(box, window);
  // The hot list is not aligned: it hangs below the up button and is moved to scroll.
  const Rect inner = layout_.InnerOf(bxLeft), up = layout_.BoundsInParent(bxUp),
             down = layout_.BoundsInParent(bxDown);
  const std::array<int, 4> column{static_cast<int>(layout_.RectOf(bxLeft).Width()), static_cast<int>(inner.Width()),
                                  static_cast<int>(up.bottom), static_cast<int>(down.top)};
  if (hot_ && column != hotColumn_) {
    hotColumn_ = column;
    hot_->ColumnResized(column[0], column[1], HotColumn{column[2], column[3]});
  }
  const int status = static_cast<int>(layout_.RectOf(bxStatus).Width()) - 220;
  if (status != statusParts_) {
    statusParts_ = status;
    SendMessageA(stbar_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&status));
  }
  return !(layout_.RectOf(bxDlg) == before);
}

bool PanelForm::SplitDone(HWND splitter, LONG delta) {
  // Compared, never used: the window could name anything.
  const BoxId box = splitter && splitter == splitleft_    ? bxSplitLeft
                    : splitter && splitter == splitright_ ? bxSplitRight
                                                          : kNoBox;
  if (box == kNoBox) return false;
  const SplitResult r = layout_.Propose(box, layout_.ProposalFromDrag(box, delta));
  return r.accepted;
}

Rect PanelForm::HoleOnScreen() const {
  POINT origin{0, 0};
  ClientToScreen(Hole(), &origin);
  RECT c{};
  GetClientRect(Hole(), &c);
  return MakeRect(origin.x, origin.y, std::int64_t{origin.x} + c.right, std::int64_t{origin.y} + c.bottom);
}

void PanelForm::ApplyMinimumTrackSize(MINMAXINFO& mmi) const {
  RECT wr, cr;
  GetWindowRect(form_, &wr);
  GetClientRect(form_, &cr);
  const Size m = layout_.MinimumSize(DockLayout::kRoot);
  mmi.ptMinTrackSize.x = std::max<LONG>(mmi.ptMinTrackSize.x, m.width + (wr.right - wr.left) - cr.right);
  mmi.ptMinTrackSize.y = std::max<LONG>(mmi.ptMinTrackSize.y, m.height + (wr.bottom - wr.top) - cr.bottom);
}

bool PanelForm::MeasureItem(MEASUREITEMSTRUCT& mis) const {
  const char* caption = mis.CtlType == ODT_MENU ? MenuBarCaption(mis.itemData) : nullptr;
  if (!caption) return false;
  MeasureMenuBarItem(form_, mis, caption);
  return true;
}

bool PanelForm::DrawItem(const DRAWITEMSTRUCT& dis) const {
  if (dis.CtlType == ODT_MENU) {
    const char* caption = MenuBarCaption(dis.itemData);
    if (!caption) return false;
    DrawMenuBarItem(dis, caption);
    return true;
  }
  if (dis.CtlType == ODT_BUTTON && dis.hwndItem && (dis.hwndItem == sbUp_ || dis.hwndItem == sbDown_)) {
    RECT r = dis.rcItem;
    UINT state = dis.hwndItem == sbUp_ ? DFCS_SCROLLUP : DFCS_SCROLLDOWN;
    if (dis.itemState & ODS_SELECTED) state |= DFCS_PUSHED;
    if (dis.itemState & ODS_DISABLED) state |= DFCS_INACTIVE;
    DrawFrameControl(dis.hDC, &r, DFC_SCROLL, state | DFCS_FLAT);
    return true;
  }
  return false;
}

}  // namespace vt
