#include "panel/PanelSettings.h"

#include <commctrl.h>

#include <algorithm>

#include "settings/Catalogue.h"

namespace vt {

void PanelSettings::Read() {
  stored_ = ReadAppSettings(*ctx_.env.registry, ctx_.appName);
}

void PanelSettings::Load() {
  const AppSettings& s = stored_;
  DockLayout& boxes = form_.Boxes();
  boxes.SetVisible(form_.bxRight, s.showPreview);
  boxes.SetVisible(form_.bxSplitRight, s.showPreview);
  boxes.SetSize(form_.bxRight, s.previewWidth);
  boxes.SetSize(form_.bxLeft, s.hotWidth);
  std::int32_t left = s.left, top = s.top;
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  if (!IsOnScreen(left, top, sw, sh)) {
    left = CentreOrigin(sw, s.width);
    top = CentreOrigin(sh, s.height);
  }
  // Lay the columns out at the present size first, so that the hole the move starts from
  // is the one the settings make.
  if (form_.Layout()) link_.HoleResized();
  HWND wnd = ctx_.Wnd();
  SetWindowPos(wnd, nullptr, left, top, s.width, s.height, SWP_NOZORDER | SWP_NOACTIVATE);
  // The dialog's minimum can make the panel larger than the stored size (the item dialog's is
  // large): it is moved in so that it stays on the screen as far as it fits.
  RECT r{};
  if (GetWindowRect(wnd, &r) && (r.right > sw || r.bottom > sh)) {
    const LONG x = std::max<LONG>(0, std::min<LONG>(r.left, sw - (r.right - r.left)));
    const LONG y = std::max<LONG>(0, std::min<LONG>(r.top, sh - (r.bottom - r.top)));
    SetWindowPos(wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (s.maximized) SetWindowLongA(wnd, GWL_STYLE, GetWindowLongA(wnd, GWL_STYLE) | WS_MAXIMIZE);
  ctx_.Post(VTM_NUDGEDIALOG);
  ApplyHotListLooks(ReadHotListLooks(*ctx_.env.registry));
  opMode_ = s.opMode;
  viewBmp_ = s.viewBmp;
  viewJpg_ = s.viewJpg;
  viewGif_ = s.viewGif;
}

void PanelSettings::ApplyHotListLooks(const HotListLooks& looks) {
  // Hot folders come with their own list; the list's looks are global.
  looks_ = looks;
  HWND hot = form_.Hot();
  const COLORREF back = looks.color ? ResolveColour(*looks.color) : kDefaultHotColor;
  SendMessageA(hot, LVM_SETBKCOLOR, 0, back);
  SendMessageA(hot, LVM_SETTEXTBKCOLOR, 0, back);
  SendMessageA(hot, LVM_SETTEXTCOLOR, 0, ResolveColour(looks.textColor.value_or(kDefaultHotTextColor)));
  if (!looks.fontSize && !looks.fontName && !looks.fontStyle) return;
  int height = -kDefaultHotFontHeight;
  if (looks.fontSize) {
    WindowDc dc(ctx_.Wnd());
    height = -MulDiv(*looks.fontSize, GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
  }
  const FontStyle st = looks.fontStyle.value_or(FontStyle{});
  UniqueFont font(CreateFontA(height, 0, 0, 0, st.bold ? FW_BOLD : FW_NORMAL, st.italic, st.underline, st.strikeOut,
                              DEFAULT_CHARSET, 0, 0, 0, 0,
                              looks.fontName ? looks.fontName->c_str() : kDefaultHotFontName));
  if (!font) return;
  SendMessageA(hot, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  hotFont_ = std::move(font);  // the previous font is no longer in use
}

PanelOptions PanelSettings::CurrentOptions() const {
  PanelOptions o;
  o.hotColor = looks_.color.value_or(kDefaultHotColor);
  o.hotTextColor = looks_.textColor.value_or(kDefaultHotTextColor);
  HFONT font = hotFont_ ? hotFont_.get() : reinterpret_cast<HFONT>(SendMessageA(form_.Hot(), WM_GETFONT, 0, 0));
  if (!font || !GetObjectA(font, sizeof o.hotFont, &o.hotFont)) {
    o.hotFont = LOGFONTA{};
    o.hotFont.lfHeight = -kDefaultHotFontHeight;
    o.hotFont.lfWeight = FW_NORMAL;
    o.hotFont.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(o.hotFont.lfFaceName, kDefaultHotFontName, LF_FACESIZE);
  }
  WindowDc dc(ctx_.Wnd());
  const int height = o.hotFont.lfHeight < 0 ? -o.hotFont.lfHeight : o.hotFont.lfHeight;
  o.hotFontPoints = looks_.fontSize.value_or(MulDiv(height, 72, GetDeviceCaps(dc.get(), LOGPIXELSY)));
  o.opMode = opMode_;
  o.showPreview = form_.Boxes().Visible(form_.bxRight);
  o.viewBmp = viewBmp_;
  o.viewJpg = viewJpg_;
  o.viewGif = viewGif_;
  return o;
}

void PanelSettings::ApplyOptions(const PanelOptions& o) {
  ApplyHotListLooks(LooksOf(o));
  DockLayout& boxes = form_.Boxes();
  boxes.SetVisible(form_.bxRight, o.showPreview);
  boxes.SetVisible(form_.bxSplitRight, o.showPreview);
  if (form_.Layout()) link_.HoleResized();
  opMode_ = o.opMode;
  viewBmp_ = o.viewBmp;
  viewJpg_ = o.viewJpg;
  viewGif_ = o.viewGif;
}

void PanelSettings::Save() {
  HWND wnd = ctx_.Wnd();
  DialogSlot& slot = ctx_.slot;
  AppSettings s;
  s.maximized = ctx_.Maximized();
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  wp.showCmd = SW_SHOWNORMAL;
  // The dialog's minimum would bend the placement the system reports.
  const std::uint16_t minW = slot.MinWidth, minH = slot.MinHeight;
  slot.MinWidth = slot.MinHeight = 0;
  GetWindowPlacement(wnd, &wp);
  slot.MinWidth = minW;
  slot.MinHeight = minH;
  RECT n = wp.rcNormalPosition;
  if (!IsOnScreen(n.left, n.top, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)))
    n = link_.NormalBounds();
  s.left = n.left;
  s.top = n.top;
  s.width = n.right - n.left;
  s.height = n.bottom - n.top;
  s.previewWidth = form_.Boxes().RequestedSize(form_.bxRight);
  s.hotWidth = form_.Boxes().RequestedSize(form_.bxLeft);
  s.lastOpenFolder = navigator_.CurrentFolderPath();
  WritePanelState(*ctx_.env.registry, ctx_.appName, s);
}

}  // namespace vt
