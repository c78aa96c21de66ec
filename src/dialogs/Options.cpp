#include "dialogs/Options.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <iterator>

#include "dialogs/DialogRules.h"
#include "settings/Catalogue.h"
#include "util/HtmlHelp.h"

namespace vt {

namespace {

using namespace options_ids;

constexpr int kClientWidth = 382, kClientHeight = 441;
const char* const kPageCaptions[] = {"General", "QuickPanel", "Preview Panel"};

}  // namespace

bool TVTOptions::Register() { return RegisterWidgets() && RegisterFormClass(kOptionsClass); }

std::unique_ptr<TVTOptions> TVTOptions::Create(OptionsTarget& owner, int page) {
  std::unique_ptr<TVTOptions> form(new TVTOptions(owner));
  if (!Register() || !form->CreateForm(kOptionsClass, "Options", kClientWidth, kClientHeight, owner.OptionsOwner()))
    return nullptr;
  form->CreateComponents();
  form->FormShow(page);
  ShowWindow(form->Handle(), SW_SHOW);
  SetForegroundWindow(form->Handle());
  return form;
}

TVTOptions::~TVTOptions() { DestroyQuietly(); }

void TVTOptions::CreateComponents() {
  HWND form = Handle();
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  pc_ = Add(form, WC_TABCONTROLA, "", WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, kClientWidth, 401, pc);
  for (int i = 0; i < 3; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kPageCaptions[i]);
    SendMessageA(pc_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  RECT area{0, 0, kClientWidth, 401};
  SendMessageA(pc_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  // Pages are plain containers on the tab's display area; they hand their controls'
  // notifications to this form.
  for (int i = 0; i < 3; ++i) {
    containers_[i] = Container::Create(pc_, false);
    pages_[i] = containers_[i] ? containers_[i]->Handle() : nullptr;
    MoveWindow(pages_[i], area.left, area.top, area.right - area.left, area.bottom - area.top, FALSE);
  }
  // Tab and the arrow keys reach the controls on the pages.
  for (HWND w : {pc_, pages_[0], pages_[1], pages_[2]})
    SetWindowLongA(w, GWL_EXSTYLE, GetWindowLongA(w, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);

  HWND p = pages_[kPageGeneral];
  Add(p, "BUTTON", "Default Directory", BS_GROUPBOX, 8, 8, 350, 130, 0, true);
  rbOp1_ = Add(p, "BUTTON", "Last opened directory", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 20, 30, 300, 17, rbOp1);
  rbOp2_ = Add(p, "BUTTON", "Directory defined by program", BS_AUTORADIOBUTTON, 20, 52, 300, 17, rbOp2);
  rbOp3_ = Add(p, "BUTTON", "Other directory:", BS_AUTORADIOBUTTON, 20, 74, 300, 17, rbOp3);
  edOp_ = Add(p, "EDIT", "", ES_READONLY | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, 36, 98, 284, 21, edOp);
  sbOp_ = Add(p, "BUTTON", "...", BS_PUSHBUTTON | WS_TABSTOP, 324, 98, 23, 21, sbOp);
  SetChecked(rbOp1_, true);  // as designed; a stored OpMode outside 1..3 leaves it so

  p = pages_[kPageQuickPanel];
  Add(p, "BUTTON", "Font and Color", BS_GROUPBOX, 8, 8, 350, 130, 0, true);
  const char* labels[] = {"Font:", "Text Color:", "Background Color:"};
  HWND* boxes[] = {&pbHotFont_, &pbHotTextColor_, &pbHotColor_};
  const int boxIds[] = {pbHotFont, pbHotTextColor, pbHotColor}, buttonIds[] = {bkHotFont, bkHotTextColor, bkHotColor};
  for (int i = 0; i < 3; ++i) {
    const int y = 30 + 34 * i;
    Add(p, "STATIC", labels[i], SS_LEFT, 20, y + 6, 100, 14);
    *boxes[i] = Add(p, "STATIC", "", SS_OWNERDRAW, 126, y, 105, 25, boxIds[i]);
    Add(p, "BUTTON", "Change", BS_PUSHBUTTON | WS_TABSTOP, 244, y, 75, 25, buttonIds[i]);
  }

  p = pages_[kPagePreview];
  cbPreview_ = Add(p, "BUTTON", "Show Preview Panel", BS_AUTOCHECKBOX | WS_TABSTOP, 12, 10, 200, 17, cbPreview, true);
  gb30_ = Add(p, "BUTTON", "Use Preview for:", BS_GROUPBOX, 8, 36, 350, 100, 0, true);
  cbBMP_ = Add(p, "BUTTON", "BMP Files", BS_AUTOCHECKBOX | WS_TABSTOP, 24, 58, 200, 17, cbBMP);
  cbJPG_ = Add(p, "BUTTON", "JPG Files", BS_AUTOCHECKBOX | WS_TABSTOP, 24, 80, 200, 17, cbJPG);
  cbGIF_ = Add(p, "BUTTON", "GIF Files", BS_AUTOCHECKBOX | WS_TABSTOP, 24, 102, 200, 17, cbGIF);

  Add(form, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 137, 409, 75, 25, nbok);
  Add(form, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 218, 409, 75, 25, nbcancel);
  Add(form, "BUTTON", "Help", BS_PUSHBUTTON | WS_TABSTOP, 299, 409, 75, 25, bkhelp);
}

void TVTOptions::FormShow(int page) {
  values_ = owner_.CurrentOptions();
  // The sample is always drawn in black; the text colour has its own swatch.
  sample_.reset(CreateFontIndirectA(&values_.hotFont));
  const HWND radios[] = {rbOp1_, rbOp2_, rbOp3_};
  if (values_.opMode >= 1 && values_.opMode <= 3)
    for (int i = 0; i < 3; ++i) SetChecked(radios[i], values_.opMode == i + 1);
  SetWindowTextA(edOp_, ReadAppSettings(owner_.OptionsRegistry(), owner_.OptionsAppName()).userOpenFolder.c_str());
  SetChecked(cbPreview_, values_.showPreview);
  SetChecked(cbBMP_, values_.viewBmp);
  SetChecked(cbJPG_, values_.viewJpg);
  SetChecked(cbGIF_, values_.viewGif);
  cbPreviewClick();
  rbOp1Click();
  SelectPage(page);
}

int TVTOptions::ActivePage() const { return static_cast<int>(SendMessageA(pc_, TCM_GETCURSEL, 0, 0)); }

void TVTOptions::SelectPage(int page) {
  if (page < 0 || page >= static_cast<int>(std::size(pages_))) page = kPageGeneral;
  SendMessageA(pc_, TCM_SETCURSEL, page, 0);
  for (int i = 0; i < 3; ++i) ShowWindow(pages_[i], i == page ? SW_SHOW : SW_HIDE);
}

void TVTOptions::rbOp1Click() {
  const bool other = Checked(rbOp3_);
  EnableWindow(edOp_, other);
  EnableWindow(sbOp_, other);
}

void TVTOptions::cbPreviewClick() {
  const int show = Checked(cbPreview_) ? SW_SHOW : SW_HIDE;
  for (HWND w : {gb30_, cbBMP_, cbJPG_, cbGIF_}) ShowWindow(w, show);
}

void TVTOptions::ChooseColour(HWND swatch, std::uint32_t& colour) {
  static COLORREF custom[16] = {};
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = Handle();
  cc.rgbResult = ResolveColour(colour);
  cc.lpCustColors = custom;
  cc.Flags = CC_FULLOPEN | CC_RGBINIT;
  if (ChooseColorA(&cc)) colour = cc.rgbResult;
  InvalidateRect(swatch, nullptr, TRUE);
}

void TVTOptions::bkHotFontClick() {
  LOGFONTA font = values_.hotFont;
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = Handle();
  cf.lpLogFont = &font;
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
  cf.rgbColors = 0;
  if (ChooseFontA(&cf)) {
    values_.hotFont = font;
    values_.hotFontPoints = cf.iPointSize > 0 ? cf.iPointSize / 10 : values_.hotFontPoints;
    sample_.reset(CreateFontIndirectA(&values_.hotFont));
  }
  InvalidateRect(pbHotFont_, nullptr, TRUE);
}

void TVTOptions::sbOpClick() {
  char name[MAX_PATH] = {};
  BROWSEINFOA bi{};
  bi.hwndOwner = Handle();
  bi.pszDisplayName = name;
  bi.lpszTitle = "Please specify a directory";
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  ItemListPtr chosen(SHBrowseForFolderA(&bi));
  char path[MAX_PATH] = {};
  if (chosen && SHGetPathFromIDListA(chosen.get(), path) && path[0]) SetWindowTextA(edOp_, path);
}

HotListLooks LooksOf(const PanelOptions& o) {
  HotListLooks looks;
  looks.color = o.hotColor;
  looks.textColor = o.hotTextColor;
  looks.fontSize = o.hotFontPoints;
  looks.fontName = std::string(o.hotFont.lfFaceName);
  looks.fontStyle = FontStyle{o.hotFont.lfWeight >= FW_BOLD, o.hotFont.lfItalic != 0, o.hotFont.lfUnderline != 0,
                              o.hotFont.lfStrikeOut != 0};
  return looks;
}

void TVTOptions::nbokClick() {
  PanelOptions o = values_;
  TQRegistry& reg = owner_.OptionsRegistry();
  WriteHotListLooks(reg, LooksOf(o));
  o.showPreview = Checked(cbPreview_);
  o.opMode = 1 * Checked(rbOp1_) + 2 * Checked(rbOp2_) + 3 * Checked(rbOp3_);
  o.viewBmp = Checked(cbBMP_);
  o.viewJpg = Checked(cbJPG_);
  o.viewGif = Checked(cbGIF_);
  AppSettings s;
  s.opMode = o.opMode;
  char folder[MAX_PATH + 1] = {};
  GetWindowTextA(edOp_, folder, sizeof folder);
  s.userOpenFolder = folder;
  s.showPreview = o.showPreview;
  s.viewBmp = o.viewBmp;
  s.viewJpg = o.viewJpg;
  s.viewGif = o.viewGif;
  WriteAppOptions(reg, owner_.OptionsAppName(), s);
  owner_.ApplyOptions(o);
}

void TVTOptions::FormClose() {
  if (closed_) return;
  closed_ = true;
  ShowWindow(Handle(), SW_HIDE);
  owner_.OptionsClosed();
}

void TVTOptions::PaintBox(const DRAWITEMSTRUCT& dis) {
  HDC dc = dis.hDC;
  RECT r = dis.rcItem;
  if (dis.hwndItem == pbHotFont_) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    Selected font(dc, sample_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, r.left + 2, r.top + 2, "ABCDEF abcdef", 13);
  } else {
    const std::uint32_t colour = dis.hwndItem == pbHotColor_ ? values_.hotColor : values_.hotTextColor;
    RECT inner = r;
    InflateRect(&inner, -2, -2);
    UniqueBrush brush(CreateSolidBrush(ResolveColour(colour)));
    FillRect(dc, &inner, brush.get());
  }
  FrameBlack(dc, r);
}

void TVTOptions::Command(int id) {
  switch (id) {
    case nbok:
      nbokClick();
      FormClose();
      break;
    case nbcancel: FormClose(); break;
    case bkhelp: ShowHelpTopic(owner_.HelpFile(), OptionsHelpTopic(ActivePage())); break;
    case rbOp1:
    case rbOp2:
    case rbOp3: rbOp1Click(); break;
    case sbOp: sbOpClick(); break;
    case cbPreview: cbPreviewClick(); break;
    case bkHotColor: ChooseColour(pbHotColor_, values_.hotColor); break;
    case bkHotTextColor: ChooseColour(pbHotTextColor_, values_.hotTextColor); break;
    case bkHotFont: bkHotFontClick(); break;
  }
}

LRESULT TVTOptions::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      Command(LOWORD(wp));
      return 0;
    case WM_NOTIFY: {
      if (!SentByOwnThread()) return 0;
      const NMHDR* n = reinterpret_cast<const NMHDR*>(lp);
      // Compared, never trusted: only our own tab control's change is acted on.
      if (n && n->hwndFrom == pc_ && n->code == TCN_SELCHANGE) SelectPage(ActivePage());
      return 0;
    }
    case WM_DRAWITEM: {
      if (!SentByOwnThread()) return FALSE;
      const DRAWITEMSTRUCT* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (dis && (dis->hwndItem == pbHotFont_ || dis->hwndItem == pbHotColor_ || dis->hwndItem == pbHotTextColor_)) {
        PaintBox(*dis);
        return TRUE;
      }
      return FALSE;
    }
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CLOSE:
      FormClose();
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace vt
