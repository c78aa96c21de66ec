// What the options dialog needs of the panel that opened it: the values it starts from, where
// they are stored, a way to apply new ones at once, and the word that the dialog has closed.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "settings/Catalogue.h"
#include "settings/QRegistry.h"

namespace vt {

struct PanelOptions {
  std::uint32_t hotColor = 0;      // the list's background, in the stored colour encoding
  std::uint32_t hotTextColor = 0;  // its text colour, likewise (a system colour reference too)
  LOGFONTA hotFont{};              // its font; the colour is hotTextColor
  int hotFontPoints = 8;
  std::int32_t opMode = 1;
  bool showPreview = true, viewBmp = true, viewJpg = true, viewGif = true;
};

// A colour of the store's encoding as the screen shows it: system colour references resolved.
inline COLORREF ResolveColour(std::uint32_t c) {
  return (c & 0x80000000u) ? GetSysColor(static_cast<int>(c & 0xFF)) : static_cast<COLORREF>(c);
}

// The hot list's looks as the store keeps them: every field present, the size in points.
HotListLooks LooksOf(const PanelOptions& options);

class OptionsTarget {
 public:
  // The file dialog the options window is owned by, so that it stays above it.
  virtual HWND OptionsOwner() const = 0;
  virtual const std::string& OptionsAppName() const = 0;
  virtual TQRegistry& OptionsRegistry() const = 0;
  virtual std::string HelpFile() const = 0;
  virtual PanelOptions CurrentOptions() const = 0;
  virtual void ApplyOptions(const PanelOptions& options) = 0;
  // Posted to the panel (VTM_OPTIONSCLOSED); the panel destroys the dialog when it arrives.
  virtual void OptionsClosed() = 0;

 protected:
  ~OptionsTarget() = default;
};

}  // namespace vt
