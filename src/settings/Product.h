// Fixed names of the product: the single-instance mutex, the application title that captions
// every message box, the version and the main form's caption.
#pragma once
#include <string>

#include "settings/Catalogue.h"

namespace vt {

// "Vantrel (©Brisvane Ltd.)" in Windows-1252. The literal is split after the escape so that
// the 'B' is not swallowed into the hexadecimal escape.
inline constexpr char kMutexName[] = "Vantrel (\xA9" "Brisvane Ltd.)";
inline constexpr char kApplicationTitle[] = "Vantrel";
inline constexpr char kProgramFileName[] = "Kestrum.exe";
inline constexpr char kHookLibraryName[] = "VT_brow.dll";
inline constexpr char kTestProgramName[] = "TestVT.exe";
inline constexpr char kConfigFileName[] = "Config.ini";
inline constexpr char kSupportAddress[] = "vantrel-support@brisvane.com";

inline std::string VersionText() { return kVersionText; }
inline std::string ProductCaption() {
  std::string caption = "Vantrel v";
  caption += VersionText();
  return caption;
}

}  // namespace vt
