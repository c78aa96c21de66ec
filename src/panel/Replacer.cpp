// The panel form: its components, attaching to the dialog, the hook library's reports,
// settings per program, closing and release.
#include "panel/Replacer.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "hooklib/Protocol.h"
#include "hooklib/SlotRules.h"
#include "panel/CaptionPaint.h"
#include "panel/PanelWidgets.h"
#include "settings/Catalogue.h"
#include "util/ShellIdList.h"
#include "util/UtilsExe.h"

namespace vt {

namespace {

enum MenuCommand : UINT {
  kCmdExplorer = 101, kCmdClose, kCmdFileSearch, kCmdMainOptions, kCmdStartupOptions,
  kCmdContents, kCmdVisitSite, kCmdAbout,
};
enum TimerId : UINT_PTR { tmControl = 1, tmscan = 2, tmOpFolder = 3 };

const char* const kMenuBarCaptions[] = {"File", "Tools", "Help"};

HWND AsWindow(std::uint32_t h) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(h)); }

std::string ClassName(HWND w) {
  char buf[64] = {};
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

// The direct children of parent with exactly this class, the topmost first.
HWND FirstChildByTop(HWND parent, const char* cls) {
  if (!parent) return nullptr;
  HWND best = nullptr;
  LONG bestTop = 0;
  int guard = 0;
  for (HWND c = FindWindowExA(parent, nullptr, cls, nullptr); c && guard < 1000;
       c = FindWindowExA(parent, c, cls, nullptr), ++guard) {
    if (ClassName(c) != cls) continue;  // FindWindowEx ignores case; the dialog's classes don't
    RECT r;
    GetWindowRect(c, &r);
    if (!best || r.top < bestTop) { best = c; bestTop = r.top; }
  }
  return best;
}

COLORREF ResolveColour(std::uint32_t c) {
  return (c & 0x80000000u) ? GetSysColor(static_cast<int>(c & 0xFF)) : static_cast<COLORREF>(c);
}

}  // namespace

bool TVTReplacer::RegisterWindowClass(HINSTANCE instance) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  if (!RegisterPanelWidgets(instance)) return false;
  WNDCLASSA c{};
  c.style = CS_DBLCLKS;
  c.lpfnWndProc = WindowProc;
  c.hInstance = instance;
  c.hCursor = LoadCursor(nullptr, IDC_ARROW);
  c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  c.lpszClassName = kPanelClass;
  return RegisterClassA(&c) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

TVTReplacer::TVTReplacer(const PanelEnvironment& env, DialogSlot& slot, const std::string& appName)
    : Env(env), Slot(slot), AppName(appName) {
  DialogWnd = AsWindow(Slot.DialogWindow);
  Slot.MoveGuard = kGuardIdle;
  Slot.State = kSlotCreating;
  CreateMenuBar();
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
  CreateWindowExA(0, kPanelClass, "Vantrel", style, 0, 0, 635, 395, DialogWnd, mmenu,
                  GetModuleHandleA(nullptr), this);
  if (!Wnd) return;
  // A1: creation.
  CreateComponents();
  if (!Env.debugMode) SetTimer(Wnd, tmControl, 500, nullptr);  // DebugMode leaves drift uncorrected
  SetTimer(Wnd, tmscan, 500, nullptr);
  SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &DesktopIdList);
  WaitCount = 0;
}

TVTReplacer::~TVTReplacer() {
  ReleaseLists();
  if (Wnd && IsWindow(Wnd)) {
    SetWindowLongPtrA(Wnd, GWLP_USERDATA, 0);
    DestroyWindow(Wnd);
  }
  if (FormFont) DeleteObject(FormFont);
  if (BoldFont) DeleteObject(BoldFont);
}

void TVTReplacer::ReleaseLists() {
  for (LPITEMIDLIST* l : {&DesktopIdList, &ReplyIdList, &SelectedItem, &CurrentFolder}) {
    ItemListFree(*l);
    *l = nullptr;
  }
}

void TVTReplacer::CreateMenuBar() {
  mmenu = CreateMenu();
  HMENU file = CreatePopupMenu(), tools = CreatePopupMenu(), help = CreatePopupMenu();
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
  HMENU popups[] = {file, tools, help};
  for (int i = 0; i < 3; ++i) {
    // The bar's items are drawn by the panel; their data is the caption.
    AppendMenuA(mmenu, MF_POPUP | MF_OWNERDRAW, reinterpret_cast<UINT_PTR>(popups[i]),
                reinterpret_cast<LPCSTR>(kMenuBarCaptions[i]));
  }
}

void TVTReplacer::CreateComponents() {
  FormFont = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
  BoldFont = CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");

  // The boxes, in the order their strips are taken.
  const BoxId root = DockLayout::kRoot;
  bxStatus = Layout.Add(root, Align::Bottom, 19);
  bxLeft = Layout.Add(root, Align::Left, 100);
  Layout.SetBorder(bxLeft, 1);
  bxUp = Layout.Add(bxLeft, Align::Top, 16);
  bxDown = Layout.Add(bxLeft, Align::Bottom, 16);
  bxRight = Layout.Add(root, Align::Right, 150);
  bxInfo = Layout.Add(bxRight, Align::Bottom, 150);
  bxPreview = Layout.Add(bxRight, Align::Client);
  bxCenter = Layout.Add(root, Align::Client);
  bxDlg = Layout.Add(bxCenter, Align::Client);
  bxSplitLeft = Layout.AddSplitter(root, Align::Left, 3, bxLeft, bxDlg, 50);
  bxSplitRight = Layout.AddSplitter(root, Align::Right, 3, bxRight, bxDlg, 140);

  HINSTANCE inst = GetModuleHandleA(nullptr);
  stbar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE,
                          0, 0, 0, 0, Wnd, nullptr, inst, nullptr);
  pnLeft = CreateContainer(Wnd, true);
  pnUp = CreateContainer(pnLeft, false);
  pnDown = CreateContainer(pnLeft, false);
  // Arrow buttons, drawn by the form (no symbol font is needed).
  sbUp = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 3, 1, 91, 14, pnUp, nullptr, inst, nullptr);
  sbDown = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 3, 1, 91, 14, pnDown, nullptr, inst, nullptr);
  Hot = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                        LVS_SHOWSELALWAYS, 0, 16, 98, 100, pnLeft, nullptr, inst, nullptr);
  LVCOLUMNA col{};
  col.mask = LVCF_WIDTH;
  col.cx = 96;
  SendMessageA(Hot, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
  SendMessageA(Hot, LVM_SETBKCOLOR, 0, kDefaultHotColor);
  SendMessageA(Hot, LVM_SETTEXTBKCOLOR, 0, kDefaultHotColor);
  SendMessageA(Hot, LVM_SETTEXTCOLOR, 0, ResolveColour(kDefaultHotTextColor));
  splitleft = CreateSplitter(Wnd, true);
  pncenter = CreateContainer(Wnd, false);
  pndlg = CreateContainer(pncenter, false);
  splitright = CreateSplitter(Wnd, true);
  pnRight = CreateContainer(Wnd, false);
  pnPreview = CreateContainer(pnRight, false);
  pnInfo = CreateContainer(pnRight, false, true);  // Bevel1 is its etched frame
  HWND* labels[] = {&lbpname, &lbptype, &lbpmod, &lbpsize, &lbprect};
  for (int i = 0; i < 5; ++i) {
    // The design captions are emptied at once: the preview fills them in.
    *labels[i] = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                                 10, 10 + 26 * i, 130, 14, pnInfo, nullptr, inst, nullptr);
  }
  for (HWND w : {stbar, Hot, lbptype, lbpmod, lbpsize, lbprect})
    SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont), FALSE);
  SendMessageA(lbpname, WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont), FALSE);
}

void TVTReplacer::PlaceBox(BoxId box, HWND window) {
  if (!window) return;
  if (!Layout.Placed(box)) {
    ShowWindow(window, SW_HIDE);
    return;
  }
  const Rect r = Layout.BoundsInParent(box);
  MoveWindow(window, r.left, r.top, static_cast<int>(r.Width()), static_cast<int>(r.Height()), TRUE);
  if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNA);
}

void TVTReplacer::LayoutComponents() {
  RECT c;
  GetClientRect(Wnd, &c);
  const Rect before = Layout.RectOf(bxDlg);
  Layout.Layout(Rect{0, 0, c.right, c.bottom});
  const std::pair<BoxId, HWND> boxes[] = {
      {bxStatus, stbar}, {bxLeft, pnLeft}, {bxUp, pnUp}, {bxDown, pnDown}, {bxSplitLeft, splitleft},
      {bxCenter, pncenter}, {bxDlg, pndlg}, {bxSplitRight, splitright}, {bxRight, pnRight},
      {bxPreview, pnPreview}, {bxInfo, pnInfo}};
  for (const auto& [box, window] : boxes) PlaceBox(box, window);
  // The hot list is not aligned: it hangs below the up button and is moved to scroll.
  const Rect inner = Layout.InnerOf(bxLeft), up = Layout.BoundsInParent(bxUp), down = Layout.BoundsInParent(bxDown);
  MoveWindow(Hot, 0, up.bottom, static_cast<int>(inner.Width()), std::max<int>(0, down.top - up.bottom), TRUE);
  const int status = static_cast<int>(Layout.RectOf(bxStatus).Width()) - 220;
  SendMessageA(stbar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&status));
  if (!(Layout.RectOf(bxDlg) == before)) OnHoleResized();
}

void TVTReplacer::OnHoleResized() {
  UpdateWindowRegion();
  UpdateDialogMaxSize();
}

void TVTReplacer::OnSplitDone(HWND splitter, LONG delta) {
  const BoxId box = splitter == splitleft ? bxSplitLeft : splitter == splitright ? bxSplitRight : kNoBox;
  if (box == kNoBox) return;
  const SplitResult r = Layout.Propose(box, Layout.ProposalFromDrag(box, delta));
  if (!r.accepted) return;
  LayoutComponents();
  // The hole moved inside the panel: put the dialog back under it (a move that changes
  // nothing still re-positions the dialog).
  SetWindowPos(Wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- attaching ---------------------------------------------------------------------------

void TVTReplacer::Show() {
  if (!Wnd) return;
  ++Depth;
  Slot.State = kSlotActive;
  AdoptDialog();
  LocateDialogControls();
  char title[1024] = {};
  GetWindowTextA(DialogWnd, title, sizeof title);
  SetWindowTextA(Wnd, title);
  ShowWindow(Wnd, (GetWindowLongA(Wnd, GWL_STYLE) & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOW);
  SetFocus(pndlg);
  SetForegroundWindow(DialogWnd);
  UpdateWindowRegion();
  LayoutComponents();
  SetTimer(Wnd, tmOpFolder, 150, nullptr);
  --Depth;
}

void TVTReplacer::AdoptDialog() {
  RECT o, m;
  GetWindowRect(DialogWnd, &o);
  // The dialog enforces its own minimum tracking size: ask for 1 x 1 and read what it took.
  MoveWindow(DialogWnd, o.left, o.top, 1, 1, FALSE);
  GetWindowRect(DialogWnd, &m);
  MoveWindow(DialogWnd, o.left, o.top, o.right - o.left, o.bottom - o.top, FALSE);
  if (m.bottom - m.top < 100) m = o;
  auto clamp16 = [](LONG v) { return static_cast<std::uint16_t>(std::clamp<LONG>(v, 0, 0xFFFF)); };
  Slot.MinWidth = clamp16(m.right - m.left);
  Slot.MinHeight = clamp16(m.bottom - m.top);
  const LRESULT style = SendMessageA(DialogWnd, VTM_GETWINDOWLONG, static_cast<WPARAM>(GWL_STYLE), 0);
  SendMessageA(DialogWnd, VTM_SETWINDOWLONG, static_cast<WPARAM>(GWL_STYLE), style | WS_THICKFRAME);
  const PanelFrame f = CurrentFrame();
  Layout.SetMinimum(bxDlg, Size{std::max(0, Slot.MinWidth - 2 * f.frame.fx - f.strip),
                                std::max(0, Slot.MinHeight - 2 * f.frame.fy - f.frame.cy)});
  Layout.SetSplitMinimum(bxSplitLeft, std::max(f.strip, 50));
  LoadSettings();
}

void TVTReplacer::LocateDialogControls() {
  FileNameEdit = FirstChildByTop(DialogWnd, "Edit");
  if (!FileNameEdit) {
    HWND ex = FirstChildByTop(DialogWnd, "ComboBoxEx32");
    FileNameEdit = FirstChildByTop(FirstChildByTop(ex, "ComboBox"), "Edit");
  }
  LocateFolderView();
  if (HWND grip = FirstChildByTop(DialogWnd, "ScrollBar")) ShowWindow(grip, SW_HIDE);
}

void TVTReplacer::LocateFolderView() {
  FolderView = FirstChildByTop(DialogWnd, "SHELLDLL_DefView");
  FileList = FolderView ? FirstChildByTop(FolderView, "SysListView32") : nullptr;
}

void TVTReplacer::LoadSettings() {
  TQRegistry& reg = *Env.registry;
  const AppSettings s = ReadAppSettings(reg, AppName);
  Layout.SetVisible(bxRight, s.showPreview);
  Layout.SetVisible(bxSplitRight, s.showPreview);
  Layout.SetSize(bxRight, s.previewWidth);
  Layout.SetSize(bxLeft, s.hotWidth);
  std::int32_t left = s.left, top = s.top;
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  if (!IsOnScreen(left, top, sw, sh)) {
    left = CentreOrigin(sw, s.width);
    top = CentreOrigin(sh, s.height);
  }
  // Lay the columns out at the present size first, so that the hole the move starts from
  // is the one the settings make.
  LayoutComponents();
  SetWindowPos(Wnd, nullptr, left, top, s.width, s.height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (s.maximized) SetWindowLongA(Wnd, GWL_STYLE, GetWindowLongA(Wnd, GWL_STYLE) | WS_MAXIMIZE);
  PostMessageA(Wnd, VTM_NUDGEDIALOG, 0, 0);
  // Hot folders come with their own list; the list's looks are global.
  const HotListLooks looks = ReadHotListLooks(reg);
  if (looks.color) {
    SendMessageA(Hot, LVM_SETBKCOLOR, 0, ResolveColour(*looks.color));
    SendMessageA(Hot, LVM_SETTEXTBKCOLOR, 0, ResolveColour(*looks.color));
  }
  if (looks.textColor) SendMessageA(Hot, LVM_SETTEXTCOLOR, 0, ResolveColour(*looks.textColor));
  if (looks.fontSize || looks.fontName || looks.fontStyle) {
    HDC dc = GetDC(Wnd);
    const int height = looks.fontSize ? -MulDiv(*looks.fontSize, GetDeviceCaps(dc, LOGPIXELSY), 72) : -kDefaultHotFontHeight;
    ReleaseDC(Wnd, dc);
    const FontStyle st = looks.fontStyle.value_or(FontStyle{});
    HFONT font = CreateFontA(height, 0, 0, 0, st.bold ? FW_BOLD : FW_NORMAL, st.italic, st.underline, st.strikeOut,
                             DEFAULT_CHARSET, 0, 0, 0, 0, looks.fontName ? looks.fontName->c_str() : kDefaultHotFontName);
    if (font) SendMessageA(Hot, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);  // lives with the panel
  }
  OpMode = s.opMode;
  ViewBMP = s.viewBmp;
  ViewJPG = s.viewJpg;
  ViewGIF = s.viewGif;
}

void TVTReplacer::SaveSettings() {
  TQRegistry& reg = *Env.registry;
  AppSettings s;
  s.maximized = (GetWindowLongA(Wnd, GWL_STYLE) & WS_MAXIMIZE) != 0;
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  wp.showCmd = SW_SHOWNORMAL;
  const std::uint16_t minW = Slot.MinWidth, minH = Slot.MinHeight;
  Slot.MinWidth = Slot.MinHeight = 0;
  GetWindowPlacement(Wnd, &wp);
  Slot.MinWidth = minW;
  Slot.MinHeight = minH;
  RECT n = wp.rcNormalPosition;
  if (!IsOnScreen(n.left, n.top, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN))) n = NormalBounds;
  s.left = n.left;
  s.top = n.top;
  s.width = n.right - n.left;
  s.height = n.bottom - n.top;
  s.previewWidth = Layout.RequestedSize(bxRight);
  s.hotWidth = Layout.RequestedSize(bxLeft);
  char path[2049] = {};
  if (CurrentFolder && SHGetPathFromIDListA(CurrentFolder, path) && path[0] &&
      !ItemListSame(CurrentFolder, DesktopIdList))
    s.lastOpenFolder = std::string(path);
  WritePanelState(reg, AppName, s);
}

// --- reports from the hook library ------------------------------------------------------

void TVTReplacer::OnCopyData(const COPYDATASTRUCT* cds) {
  if (!cds || Slot.State != kSlotActive) return;
  const DWORD size = cds->cbData;
  const void* data = cds->lpData;
  switch (static_cast<std::uint32_t>(cds->dwData)) {
    case VTCD_DESTROY:
      Slot.State = kSlotClosing;
      if (!Closing) {
        CloseQuery();
        ClosePanel();
      }
      break;
    case VTCD_SHOW: {
      if (!data || size < sizeof(NotifyRecord)) break;
      NotifyRecord rec;
      std::memcpy(&rec, data, sizeof rec);
      const bool show = rec.WParam != 0;
      if ((IsWindowVisible(Wnd) != FALSE) != show) ShowWindow(Wnd, show ? SW_SHOW : SW_HIDE);
      break;
    }
    case VTCD_POSCHANGING: {
      if (!data || size < kWindowPosSize) break;
      WINDOWPOS pos;
      std::memcpy(&pos, data, sizeof pos);
      FollowDialog(pos);
      break;
    }
    case VTCD_NCACTIVATE:
      RepaintFrame();
      break;
    case VTCD_SETTEXT: {
      if (!data || size == 0) break;
      const char* text = static_cast<const char*>(data);
      const std::size_t len = strnlen(text, size);  // a text without its NUL ends at the payload
      if (Slot.CatchFileNameText && len > 0) SavedEditText.assign(text, len);
      break;
    }
    case VTCD_FOLDER: {
      ItemListFree(ReplyIdList);
      ReplyIdList = nullptr;
      if (data && ItemListSizeIn(data, size) != 0) ReplyIdList = ItemListCopy(static_cast<LPCITEMIDLIST>(data));
      break;
    }
    default:
      break;  // the dialog's WM_CLOSE among others
  }
}

void TVTReplacer::CloseQuery() {
  SaveSettings();
  Closing = true;
  if (Slot.State != kSlotClosing) PostMessageA(DialogWnd, WM_CLOSE, 0, 0);
}

void TVTReplacer::ClosePanel() {
  if (Released) return;
  Released = true;
  SetForegroundWindow(DialogWnd);
  Slot.State = kSlotClosing;
  GetWindowRect(Wnd, &LastRect);
  Slot.PanelWindow = 0;
  Slot.DialogWindow = 0;
  ReleaseLists();
  KillTimer(Wnd, tmControl);
  KillTimer(Wnd, tmscan);
  KillTimer(Wnd, tmOpFolder);
  ShowWindow(Wnd, SW_HIDE);
  PostMessageA(Env.controller, VTM_RELEASEPANEL, reinterpret_cast<WPARAM>(this), 0);
}

// --- messages ----------------------------------------------------------------------------

LRESULT CALLBACK TVTReplacer::WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TVTReplacer*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    self->Wnd = w;
    SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TVTReplacer*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  if (!self) return DefWindowProcA(w, msg, wp, lp);
  ++self->Depth;
  const LRESULT result = self->Dispatch(msg, wp, lp);
  --self->Depth;
  if (self->Depth == 0 && self->DeletePending) delete self;  // released during a wait
  return result;
}

LRESULT TVTReplacer::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COPYDATA:
      OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lp));
      return 0;
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
      if (Slot.State == kSlotActive && Slot.MoveGuard != kGuardPanelFollows && !hook::IsPureZOrderChange(pos->flags))
        MoveDialogWithPanel(*pos);
      return Default(msg, wp, lp);
    }
    case WM_WINDOWPOSCHANGED: {
      const LRESULT r = Default(msg, wp, lp);
      RECT wr;
      GetWindowRect(Wnd, &wr);
      if (IsOnScreen(wr.left, wr.top, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)) &&
          !(GetWindowLongA(Wnd, GWL_STYLE) & WS_MAXIMIZE))
        NormalBounds = wr;
      return r;
    }
    case VTM_DIALOGMOVED:
    case VTM_PANELMOVED:
      RepaintAfterMove(msg, wp);
      return 0;
    case VTM_NUDGEDIALOG: {
      RECT d;
      if (GetWindowRect(DialogWnd, &d)) MoveWindow(DialogWnd, d.left, d.top, d.right - d.left, d.bottom - d.top, TRUE);
      return 0;
    }
    case WM_SHOWWINDOW:
      // The flag is the visibility the panel is about to have.
      if (Slot.State == kSlotActive && (IsWindowVisible(DialogWnd) != FALSE) != (wp != 0))
        ShowWindow(DialogWnd, wp ? SW_SHOW : SW_HIDE);
      return Default(msg, wp, lp);
    case WM_ENABLE:
      if ((IsWindowEnabled(DialogWnd) != FALSE) != (wp != 0)) EnableWindow(DialogWnd, wp != 0);
      RepaintFrame();
      return 0;
    case WM_SIZE:
      if (wp == SIZE_MINIMIZED && Slot.State == kSlotActive) {
        ShowWindow(Wnd, SW_RESTORE);
        return 0;
      }
      LayoutComponents();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
      RECT wr, cr;
      GetWindowRect(Wnd, &wr);
      GetClientRect(Wnd, &cr);
      const Size m = Layout.MinimumSize(DockLayout::kRoot);
      mmi->ptMinTrackSize.x = std::max<LONG>(mmi->ptMinTrackSize.x, m.width + (wr.right - wr.left) - cr.right);
      mmi->ptMinTrackSize.y = std::max<LONG>(mmi->ptMinTrackSize.y, m.height + (wr.bottom - wr.top) - cr.bottom);
      return 0;
    }
    case WM_SYSCOMMAND:
      return OnSysCommand(wp, lp);
    case VTM_RESTOREDRAG:
      SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, SavedDragFullWindows, nullptr, 0);
      return 0;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
      const LRESULT r = Default(msg, wp, lp);
      const int at = CaptionButtonUnderCursor();
      if (at != HoverButton) {
        HoverButton = at;
        RepaintFrame();
      }
      return r;
    }
    case WM_LBUTTONUP: {
      const LRESULT r = Default(msg, wp, lp);
      ReleaseCapture();
      if (PressedButton != 0 && PressedButton == HoverButton) {
        if (PressedButton == 1)
          PostMessageA(Wnd, WM_SYSCOMMAND, (GetWindowLongA(Wnd, GWL_STYLE) & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, 0);
        else
          PostMessageA(Wnd, WM_CLOSE, 0, 0);
      }
      PressedButton = 0;
      RepaintFrame();
      return r;
    }
    case WM_NCPAINT:
      OnNcPaint(wp);
      return 0;
    case WM_SETTEXT: {
      // The standard caption would flash its own text before ours is drawn over it.
      const LONG style = GetWindowLongA(Wnd, GWL_STYLE);
      SetWindowLongA(Wnd, GWL_STYLE, style & ~WS_VISIBLE);
      const LRESULT r = Default(msg, wp, lp);
      SetWindowLongA(Wnd, GWL_STYLE, style);
      RepaintFrame();
      return r;
    }
    case WM_NCACTIVATE:
      RepaintFrame();
      return TRUE;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (mis->CtlType == ODT_MENU && mis->itemData) {
        MeasureMenuBarItem(Wnd, *mis, reinterpret_cast<const char*>(mis->itemData));
        return TRUE;
      }
      return Default(msg, wp, lp);
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (dis->CtlType == ODT_MENU && dis->itemData) {
        DrawMenuBarItem(*dis, reinterpret_cast<const char*>(dis->itemData));
        return TRUE;
      }
      if (dis->CtlType == ODT_BUTTON && (dis->hwndItem == sbUp || dis->hwndItem == sbDown)) {
        RECT r = dis->rcItem;
        UINT state = dis->hwndItem == sbUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN;
        if (dis->itemState & ODS_SELECTED) state |= DFCS_PUSHED;
        if (dis->itemState & ODS_DISABLED) state |= DFCS_INACTIVE;
        DrawFrameControl(dis->hDC, &r, DFC_SCROLL, state | DFCS_FLAT);
        return TRUE;
      }
      return Default(msg, wp, lp);
    }
    case WM_COMMAND:
      if (HIWORD(wp) == 0 && lp == 0 && LOWORD(wp) == kCmdClose) PostMessageA(Wnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_VT_SPLITDONE:
      OnSplitDone(reinterpret_cast<HWND>(wp), static_cast<LONG>(lp));
      return 0;
    case VTM_NAVWAIT:
      NavigationWait(wp);
      return 0;
    case WM_TIMER:
      if (wp == tmControl) Resynchronise();
      else if (wp == tmscan) ScanFolder();
      else if (wp == tmOpFolder) OpenStartFolder();
      return 0;
    case WM_CLOSE:
      if (!Released) {
        CloseQuery();
        ClosePanel();
      }
      return 0;
    case WM_DESTROY:
      // The window can go with its owner, the dialog: the slot must not keep pointing here.
      if (!Released) {
        Slot.State = kSlotClosing;
        Closing = true;
        GetWindowRect(Wnd, &LastRect);
        Released = true;
        Slot.PanelWindow = 0;
        Slot.DialogWindow = 0;
        PostMessageA(Env.controller, VTM_RELEASEPANEL, reinterpret_cast<WPARAM>(this), 0);
      }
      return 0;
    case WM_NCDESTROY: {
      HWND w = Wnd;
      SetWindowLongPtrA(w, GWLP_USERDATA, 0);
      Wnd = nullptr;
      return DefWindowProcA(w, msg, wp, lp);
    }
  }
  return Default(msg, wp, lp);
}

}  // namespace vt
