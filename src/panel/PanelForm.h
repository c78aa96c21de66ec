// The panel's form: its menu bar, child windows and the docking layout that places them. The
// hole `pndlg` is the box the dialog's client area shows through.
#pragma once
#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <vector>

#include "kit/DockLayout.h"
#include "kit/Widgets.h"
#include "panel/HotFoldersPanel.h"
#include "util/Handles.h"

namespace vt {

enum PanelCommand : UINT {
  kCmdExplorer = 101, kCmdClose, kCmdFileSearch, kCmdMainOptions, kCmdStartupOptions,
  kCmdContents, kCmdVisitSite, kCmdAbout,
};

class PanelForm {
 public:
  static bool RegisterClasses();

  // The menu bar, made before the window so that the window is created with it; the window
  // owns it once MenuBarAdopted is called, and until then this form does.
  HMENU MenuBar();
  void MenuBarAdopted() { (void)menu_.release(); }
  void CreateComponents(HWND form);
  // Places every box in the form's client area. True when the hole changed.
  bool Layout();
  // A splitter released after a drag; true when the layout took the new size.
  bool SplitDone(HWND splitter, LONG delta);

  // The hole's screen rectangle.
  Rect HoleOnScreen() const;
  // The smallest window the layout allows, from the window's own frame.
  void ApplyMinimumTrackSize(MINMAXINFO& mmi) const;
  // Owner-drawn menu bar items and arrow buttons; false for anything else.
  bool MeasureItem(MEASUREITEMSTRUCT& mis) const;
  bool DrawItem(const DRAWITEMSTRUCT& dis) const;

  DockLayout& Boxes() { return layout_; }
  const DockLayout& Boxes() const { return layout_; }
  BoxId bxLeft = kNoBox, bxUp = kNoBox, bxDown = kNoBox, bxSplitLeft = kNoBox, bxCenter = kNoBox,
        bxDlg = kNoBox, bxSplitRight = kNoBox, bxRight = kNoBox, bxPreview = kNoBox, bxInfo = kNoBox,
        bxStatus = kNoBox;

  HWND Hot() const { return hot_ ? hot_->Handle() : nullptr; }
  TQHotFoldersPanel* HotList() const { return hot_.get(); }
  HWND UpBar() const { return sbUp_; }
  HWND DownBar() const { return sbDown_; }
  HWND Hole() const { return pndlg_ ? pndlg_->Handle() : nullptr; }

  // The preview column's windows.
  struct PreviewLabels {
    HWND name, type, rect, size, mod;
  };
  HWND PreviewArea() const { return pnPreview_; }
  HWND InfoArea() const { return pnInfo_; }
  HWND StatusBar() const { return stbar_; }
  PreviewLabels Labels() const { return {lbpname_, lbptype_, lbprect_, lbpsize_, lbpmod_}; }
  std::array<HWND, 5> InfoLabels() const { return {lbpname_, lbptype_, lbprect_, lbpsize_, lbpmod_}; }

 private:
  void PlaceBox(BoxId box, HWND window);
  HWND Adopt(std::unique_ptr<Container> c);

  HWND form_ = nullptr;
  DockLayout layout_;
  UniqueMenu menu_;
  UniqueFont formFont_, boldFont_;
  std::vector<std::unique_ptr<Window>> children_;
  Container* pndlg_ = nullptr;
  HWND pnLeft_ = nullptr, pnUp_ = nullptr, pnDown_ = nullptr, sbUp_ = nullptr, sbDown_ = nullptr;
  std::unique_ptr<TQHotFoldersPanel> hot_;
  // What each box's window was last given: a layout that changes nothing moves nothing (every
  // move of a window is a round of messages and calls to the window server).
  std::map<BoxId, Rect> placed_;
  std::array<int, 4> hotColumn_{-1, -1, -1, -1};
  int statusParts_ = -1;
  HWND splitleft_ = nullptr, pncenter_ = nullptr, splitright_ = nullptr, pnRight_ = nullptr;
  HWND pnPreview_ = nullptr, pnInfo_ = nullptr, stbar_ = nullptr;
  HWND lbpname_ = nullptr, lbptype_ = nullptr, lbpmod_ = nullptr, lbpsize_ = nullptr, lbprect_ = nullptr;
};

}  // namespace vt
