// TVTOptions: the options window of one panel. It starts from the panel's current values,
// edits the hot list's looks (for every program), the program's start-folder rule and its
// preview switches, and on OK stores them and hands them to the panel at once. Closing by any
// way tells the panel, which destroys the window; the window never destroys itself.
#pragma once
#include <windows.h>

#include <memory>

#include "dialogs/FormWindow.h"
#include "dialogs/OptionsTarget.h"
#include "kit/Widgets.h"

namespace vt {

inline constexpr char kOptionsClass[] = "TVTOptions";

// Control ids.
namespace options_ids {
enum : int {
  nbok = IDOK, nbcancel = IDCANCEL, bkhelp = 100, pc, rbOp1, rbOp2, rbOp3, edOp, sbOp, pbHotFont, pbHotTextColor,
  pbHotColor, bkHotFont, bkHotTextColor, bkHotColor, cbPreview, cbBMP, cbJPG, cbGIF,
};
}  // namespace options_ids

class TVTOptions final : public FormWindow {
 public:
  static bool Register();
  // Made and shown modeless on page (0 General, 1 QuickPanel, 2 Preview Panel); null when
  // the window cannot be made.
  static std::unique_ptr<TVTOptions> Create(OptionsTarget& owner, int page);
  ~TVTOptions() override;

  int ActivePage() const;

 private:
  explicit TVTOptions(OptionsTarget& owner) : owner_(owner) {}
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void CreateComponents();
  void FormShow(int page);
  void SelectPage(int page);
  void Command(int id);
  void nbokClick();
  void FormClose();
  void rbOp1Click();
  void cbPreviewClick();
  void ChooseColour(HWND swatch, std::uint32_t& colour);
  void bkHotFontClick();
  void sbOpClick();
  void PaintBox(const DRAWITEMSTRUCT& dis);

  OptionsTarget& owner_;
  PanelOptions values_;  // the tags of the swatches and the sample font
  bool closed_ = false;
  HWND pc_ = nullptr, pages_[3] = {};
  HWND rbOp1_ = nullptr, rbOp2_ = nullptr, rbOp3_ = nullptr, edOp_ = nullptr, sbOp_ = nullptr;
  HWND pbHotFont_ = nullptr, pbHotTextColor_ = nullptr, pbHotColor_ = nullptr;
  HWND cbPreview_ = nullptr, gb30_ = nullptr, cbBMP_ = nullptr, cbJPG_ = nullptr, cbGIF_ = nullptr;
  UniqueFont sample_;
  std::unique_ptr<Container> containers_[3];
};

}  // namespace vt
