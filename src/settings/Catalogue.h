// Every stored value of the program, with its path, default and reading rule in one place.
// Later code reads and writes settings only through these accessors.
#pragma once
#include <cstddef>
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
// The name comes from another process. Only a plain file name addresses its own key: an
// empty name, one longer than a registry key name may be, or one holding '?', '\', '/' or
// NUL is refused; the app-section readers then give the defaults and the writers store nothing.
inline constexpr std::size_t kMaxAppNameLength = 255;
bool UsableAppName(const std::string& appName);

// --- program key -------------------------------------------------------------------------
std::optional<std::int32_t> ReadAutoRun(TQRegistry& reg);        // raw stored value
void WriteAutoRun(TQRegistry& reg, bool on);                      // 1 or 0
bool HasNoFirstRun(TQRegistry& reg);                              // presence only
void WriteNoFirstRun(TQRegistry& reg);

// Numbered lists are read and written up to this many entries: a damaged count (negative or
// absurd) can then neither make a reader loop for ever nor a writer fill the registry.
inline constexpr std::int32_t kMaxStoredListCount = 10000;

// Ignore list: entries that were read and are not empty, in order. A negative count reads
// as an empty list; at most kMaxStoredListCount entries are looked at.
std::vector<std::string> ReadIgnoreNames(TQRegistry& reg);
// Count first, then the entries; names beyond kMaxStoredListCount are not stored.
void WriteIgnoreNames(TQRegistry& reg, const std::vector<std::string>& names);

// Hot folders (identifier lists are raw bytes here; their owner checks them).
// The stored count, clamped to 0..kMaxStoredListCount; none when it cannot be read.
std::optional<std::int32_t> ReadFoldersCount(TQRegistry& reg);
void WriteFoldersCount(TQRegistry& reg, std::int32_t count);
// Empty when the value is missing, of a string or integer type, empty, or larger than
// capacity (capacity is bounded by kMaxFolderIdListCapacity).
std::vector<std::uint8_t> ReadFolderIdList(TQRegistry& reg, int n, int capacity);
void WriteFolderIdList(TQRegistry& reg, int n, const void* data, int size);
// The shortcut's file name; none when absent, unreadable or empty (no shortcut).
std::optional<std::string> ReadFolderLink(TQRegistry& reg, int n);
void WriteFolderLink(TQRegistry& reg, int n, const std::string& linkName);
inline constexpr int kPanelIdListCapacity = 4100;
inline constexpr int kTrayIdListCapacity = 2048;
inline constexpr int kMaxFolderIdListCapacity = 0x10000;

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

// Reading rules: a colour counts as present only when it is a COLORREF (top byte 0) or a
// system colour reference (0x80000000 + index 0..30); a font size only within 1..1000
// points; a font name only when not empty (an absent value in an existing Options key
// reads as empty text). Anything else is absent and leaves the design look in place.
inline constexpr std::int32_t kMaxHotFontSize = 1000;
bool UsableColour(std::uint32_t colour);

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

// Where a stored position off the screen (panel/Geometry.h, IsOnScreen) is centred to:
// (screen - size) / 2, truncated toward zero, without overflow for any pair of values.
std::int32_t CentreOrigin(int screen, std::int32_t size);

// --- Config.ini ----------------------------------------------------------------------------
inline constexpr char kIniDebugSection[] = "Debug";
inline constexpr char kIniCommonSection[] = "Common";
inline constexpr char kIniVersionKey[] = "Version";

// A boolean key: any non-zero integer is on; absent, missing file or non-number is off.
// The text is a number when, after blanks (space, tab) at either end are dropped, it is an
// optional sign followed by decimal digits and nothing else: " 5" and "+2" are on, "0" and
// "-0" off, "12abc", "1.5", "0x1" and "" off. A number too large for 32 bits is still a
// non-zero number, so it is on.
bool IniBoolean(const std::optional<std::string>& text);

struct DebugSwitches {
  bool showDlgBorder = false, showErrors = false, noAttachVTR = false, debugMode = false;
};
// The four [Debug] keys through a lookup that gives a key's text, or none when the key or
// the file is missing.
using IniLookup = std::optional<std::string> (*)(void* context, const char* section, const char* key);
DebugSwitches ReadDebugSwitches(IniLookup lookup, void* context);

}  // namespace vt
