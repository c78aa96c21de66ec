// TVTAbout: the small "About" window: the product name and version, the systems it is for,
// and two link lines (the web site, a mail to support) over a tiled picture. One window per
// process, hidden by its close button and shown again on the next request.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "dialogs/DialogRules.h"
#include "dialogs/FormWindow.h"
#include "kit/PixelImage.h"

namespace vt {

inline constexpr char kAboutClass[] = "TVTAbout";
// The 128 x 128 JPEG tile, an RCDATA resource of the program.
inline constexpr char kAboutTileResource[] = "ABOUTTILE";

struct AboutEnvironment {
  std::string productCaption;  // "Vantrel v1.01"
  std::string supportAddress;
  std::function<void()> openWebSite;
  std::function<void()> openSupportMail;
};

class TVTAbout final : public FormWindow {
 public:
  static std::unique_ptr<TVTAbout> Create(AboutEnvironment env);
  ~TVTAbout() override;

  void ShowOrFront();

 private:
  // A shadowed, transparent label; the two links also keep their hover colours.
  struct Label {
    RECT bounds;
    std::string text;
    HFONT font;
    LinkHover hover;  // colour is the label's font colour
    COLORREF shadow;
    int dx, dy;  // shadow offset
    bool centred;
  };
  enum : int { kVersion, kSystems, kVisit, kMail, kLabelCount };

  explicit TVTAbout(AboutEnvironment env) : env_(std::move(env)) {}
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void FormCreate();
  void pbPaint(HDC dc);
  int LinkAt(POINT p) const;
  void MouseMoved(POINT p);
  void SetHovered(int link);

  AboutEnvironment env_;
  PixelImage tile_;
  UniqueFont big_, small_, link_;
  Label labels_[kLabelCount] = {};
  int hovered_ = -1;
};

}  // namespace vt
