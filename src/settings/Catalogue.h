// Every stored value of the program, with its path, default and reading rule in one place.
// Later code reads and writes settings only through these accessors.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/QRegistry.h"

namespace vt {

inline constexpr char kProgramKey[] = "Software\\Brisvane\\Vantrel";
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunValue[] = "Vantrel";
inline constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr char kVersionText[] = "1.01";

// "Options\" + AppName: the per-program section.
std::string AppSection(const std::string& appName);

// --- program key -------------------------------------------------------------------------
std::optional<std::int32_t> ReadAutoRun(TQRegistry& reg);        // raw stored value
void WriteAutoRun(TQRegistry& reg, bool on);                      // 1 or 0
bool HasNoFirstRun(TQRegistry& reg);                              // presence only
void WriteNoFirstRun(TQRegistry& reg);

// Ignore list: entries that were read and are not empty, in order.
std::vector<std::string> ReadIgnoreNames(TQRegistry& reg);
void WriteIgnoreNames(TQRegistry& reg, const std::vector<std::string>& names);

// Hot folders (identifier lists are raw bytes here).
std::optional<std::int32_t> ReadFoldersCount(TQRegistry& reg);
void WriteFoldersCount(TQRegistry& reg, std::int32_t count);
// Empty when the value is missing, not binary or larger than capacity.
std::vector<std::uint8_t> ReadFolderIdList(TQRegistry& reg, int n, int capacity);
void WriteFolderIdList(TQRegistry& reg, int n, const void* data, int size);
std::optional<std::string> ReadFolderLink(TQRegistry& reg, int n);
void WriteFolderLink(TQRegistry& reg, int n, const std::string& linkName);
inline constexpr int kPanelIdListCapacity = 4100;
inline constexpr int kTrayIdListCapacity = 2048;

// Hot-folder list looks; each is applied only when present.
struct FontStyle {
  bool bold = false, italic = false, underline = false, strikeOut = false;
  bool operator==(const FontStyle&) const = default;
};
std::int32_t EncodeFontStyle(const FontStyle& style);
FontStyle DecodeFontStyle(std::int32_t value);

inline constexpr std::uint32_t kDefaultHotColor = 13484980;      // 0x00CDC3B4
inline constexpr std::uint32_t kDefaultHotTextColor = 0x80000008;  // window text
inline constexpr char kDefaultHotFontName[] = "MS Sans Serif";
inline constexpr int kDefaultHotFontHeight = 11;  // pixels: 8 points at 96 dpi

struct HotListLooks {
  std::optional<std::uint32_t> color, textColor;
  std::optional<std::int32_t> fontSize;
  std::optional<std::string> fontName;
  std::optional<FontStyle> fontStyle;
};
HotListLooks ReadHotListLooks(TQRegistry& reg);
void WriteHotListLooks(TQRegistry& reg, const HotListLooks& looks);  // writes present fields

// --- app section -------------------------------------------------------------------------
struct AppSettings {
  bool maximized = false;
  std::int32_t left = 32000, top = 32000, width = 635, height = 395;
  std::int32_t previewWidth = 150;   // PRWidth
  std::int32_t hotWidth = 100;       // PLWidth
  std::optional<std::string> lastOpenFolder;
  bool showPreview = true;
  std::int32_t opMode = 1;
  std::string userOpenFolder;
  bool viewBmp = true, viewJpg = true, viewGif = true;
};
inline constexpr std::int32_t kOpModeLastFolder = 1;
inline constexpr std::int32_t kOpModeProgramFolder = 2;
inline constexpr std::int32_t kOpModeUserFolder = 3;

AppSettings ReadAppSettings(TQRegistry& reg, const std::string& appName);
// Geometry, pane widths and (when given) LastOpenFolder, as a panel saves on close.
void WritePanelState(TQRegistry& reg, const std::string& appName, const AppSettings& s);
// Start-folder rule and preview switches, as the options dialog saves.
void WriteAppOptions(TQRegistry& reg, const std::string& appName, const AppSettings& s);

// Centring rule for stored positions: true when the panel must be centred on this screen.
bool MustCentre(std::int32_t left, std::int32_t top, int screenWidth, int screenHeight);

// --- Config.ini ----------------------------------------------------------------------------
// A boolean key: any non-zero integer is on; absent, missing file or non-number is off.
bool IniBoolean(const std::optional<std::string>& text);

struct DebugSwitches {
  bool showDlgBorder = false, showErrors = false, noAttachVTR = false, debugMode = false;
};

}  // namespace vt
