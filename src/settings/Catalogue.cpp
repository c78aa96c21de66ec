#include "settings/Catalogue.h"

#include <algorithm>

namespace vt {

namespace {

constexpr char kAutoRunPath[] = "?AutoRun";
constexpr char kNoFirstRunPath[] = "?NoFirstRun";
constexpr char kIgnoreCountPath[] = "IgnoreList?IgnoreCount";
constexpr char kIgnoreEntryPath[] = "IgnoreList?Ignore";
constexpr char kFoldersCountPath[] = "HotFolders?FoldersCount";
constexpr char kFolderEntryPath[] = "HotFolders?Folder";
constexpr char kHotColorPath[] = "Options?HotColor";
constexpr char kHotTextColorPath[] = "Options?HotTextColor";
constexpr char kHotFontSizePath[] = "Options?HotFontSize";
constexpr char kHotFontNamePath[] = "Options?HotFontName";
constexpr char kHotFontStylePath[] = "Options?HotFontStyle";

// Highest index of a system colour reference (COLOR_MENUBAR is 30).
constexpr std::uint32_t kMaxSystemColourIndex = 30;

std::int32_t ClampCount(std::int32_t count) { return std::clamp(count, 0, kMaxStoredListCount); }

std::string FolderPath(int n) { return kFolderEntryPath + std::to_string(n); }

// A value of the app section: "Options\<AppName>?<name>".
std::string AppPath(const std::string& appName, const char* name) {
  return AppSection(appName) + "?" + name;
}

std::int32_t ReadIntegerOr(TQRegistry& reg, const std::string& path, std::int32_t fallback) {
  std::int32_t value = fallback;
  reg.ReadInteger(path, value);
  return value;
}

// Flags whose reading rule is "exactly 1 is on" (VTMaximized, ShowPreview).
bool ReadExactlyOne(TQRegistry& reg, const std::string& path, bool fallback) {
  std::int32_t value = 0;
  if (!reg.ReadInteger(path, value)) return fallback;
  return value == 1;
}

// Flags whose reading rule is "any non-zero value is on" (ViewBMP, ViewJPG, ViewGIF).
bool ReadNonZero(TQRegistry& reg, const std::string& path, bool fallback) {
  std::int32_t value = 0;
  if (!reg.ReadInteger(path, value)) return fallback;
  return value != 0;
}

}  // namespace

std::string AppSection(const std::string& appName) { return "Options\\" + appName; }

bool UsableAppName(const std::string& appName) {
  if (appName.empty() || appName.size() > kMaxAppNameLength) return false;
  // '?' would move the split between key and value name, '\' and '/' would address another
  // key; a program's file name never holds them.
  return appName.find_first_of(std::string("?\\/\0", 4)) == std::string::npos;
}

// --- program key ---------------------------------------------------------------------------

std::optional<std::int32_t> ReadAutoRun(TQRegistry& reg) {
  std::int32_t value = 0;
  if (!reg.ReadInteger(kAutoRunPath, value)) return std::nullopt;
  return value;
}

void WriteAutoRun(TQRegistry& reg, bool on) { reg.WriteInteger(kAutoRunPath, on ? 1 : 0); }

bool HasNoFirstRun(TQRegistry& reg) {
  std::int32_t value = 0;
  return reg.ReadInteger(kNoFirstRunPath, value);
}

void WriteNoFirstRun(TQRegistry& reg) { reg.WriteInteger(kNoFirstRunPath, 1); }

// --- ignore list -----------------------------------------------------------------------------

std::vector<std::string> ReadIgnoreNames(TQRegistry& reg) {
  std::vector<std::string> names;
  std::int32_t count = ClampCount(ReadIntegerOr(reg, kIgnoreCountPath, 0));
  for (std::int32_t n = 0; n < count; ++n) {
    std::string name;
    if (reg.ReadString(kIgnoreEntryPath + std::to_string(n), name) && !name.empty())
      names.push_back(std::move(name));
  }
  return names;
}

void WriteIgnoreNames(TQRegistry& reg, const std::vector<std::string>& names) {
  std::int32_t count = static_cast<std::int32_t>(
      std::min<std::size_t>(names.size(), static_cast<std::size_t>(kMaxStoredListCount)));
  reg.WriteInteger(kIgnoreCountPath, count);
  for (std::int32_t n = 0; n < count; ++n)
    reg.WriteString(kIgnoreEntryPath + std::to_string(n), names[static_cast<std::size_t>(n)]);
}

// --- hot folders -----------------------------------------------------------------------------

std::optional<std::int32_t> ReadFoldersCount(TQRegistry& reg) {
  std::int32_t value = 0;
  if (!reg.ReadInteger(kFoldersCountPath, value)) return std::nullopt;
  return ClampCount(value);
}

void WriteFoldersCount(TQRegistry& reg, std::int32_t count) {
  reg.WriteInteger(kFoldersCountPath, ClampCount(count));
}

std::vector<std::uint8_t> ReadFolderIdList(TQRegistry& reg, int n, int capacity) {
  if (n < 0 || capacity <= 0) return {};
  capacity = std::min(capacity, kMaxFolderIdListCapacity);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(capacity));
  int size = capacity;
  if (reg.ReadBinary(FolderPath(n), data.data(), size) <= 0) return {};
  data.resize(static_cast<std::size_t>(size));
  return data;
}

void WriteFolderIdList(TQRegistry& reg, int n, const void* data, int size) {
  if (n < 0 || !data || size <= 0) return;
  reg.WriteBinary(FolderPath(n), data, size);
}

std::optional<std::string> ReadFolderLink(TQRegistry& reg, int n) {
  if (n < 0) return std::nullopt;
  std::string name;
  if (!reg.ReadString(FolderPath(n) + "-lnk", name) || name.empty()) return std::nullopt;
  return name;
}

void WriteFolderLink(TQRegistry& reg, int n, const std::string& linkName) {
  if (n < 0) return;
  reg.WriteString(FolderPath(n) + "-lnk", linkName);
}

// --- hot-folder list looks -------------------------------------------------------------------

std::int32_t EncodeFontStyle(const FontStyle& style) {
  return (style.bold ? 1 : 0) | (style.italic ? 2 : 0) | (style.underline ? 4 : 0) |
         (style.strikeOut ? 8 : 0);
}

FontStyle DecodeFontStyle(std::int32_t value) {
  // Greedy, largest bit first, as stored values have always been read: values above 15 set
  // every style the steps reach, negative values none.
  FontStyle style;
  if (value > 7) {
    style.strikeOut = true;
    value -= 8;
  }
  if (value > 3) {
    style.underline = true;
    value -= 4;
  }
  if (value > 1) {
    style.italic = true;
    value -= 2;
  }
  if (value > 0) style.bold = true;
  return style;
}

bool UsableColour(std::uint32_t colour) {
  std::uint32_t top = colour >> 24;
  if (top == 0) return true;
  return top == 0x80 && (colour & 0x00FFFFFFu) <= kMaxSystemColourIndex;
}

HotListLooks ReadHotListLooks(TQRegistry& reg) {
  HotListLooks looks;
  std::int32_t value = 0;
  if (reg.ReadInteger(kHotColorPath, value) && UsableColour(static_cast<std::uint32_t>(value)))
    looks.color = static_cast<std::uint32_t>(value);
  if (reg.ReadInteger(kHotTextColorPath, value) && UsableColour(static_cast<std::uint32_t>(value)))
    looks.textColor = static_cast<std::uint32_t>(value);
  if (reg.ReadInteger(kHotFontSizePath, value) && value >= 1 && value <= kMaxHotFontSize)
    looks.fontSize = value;
  std::string name;
  if (reg.ReadString(kHotFontNamePath, name) && !name.empty()) looks.fontName = name;
  if (reg.ReadInteger(kHotFontStylePath, value)) looks.fontStyle = DecodeFontStyle(value);
  return looks;
}

void WriteHotListLooks(TQRegistry& reg, const HotListLooks& looks) {
  if (looks.color) reg.WriteInteger(kHotColorPath, static_cast<std::int32_t>(*looks.color));
  if (looks.textColor) reg.WriteInteger(kHotTextColorPath, static_cast<std::int32_t>(*looks.textColor));
  if (looks.fontSize) reg.WriteInteger(kHotFontSizePath, *looks.fontSize);
  if (looks.fontName) reg.WriteString(kHotFontNamePath, *looks.fontName);
  if (looks.fontStyle) reg.WriteInteger(kHotFontStylePath, EncodeFontStyle(*looks.fontStyle));
}

// --- app section -----------------------------------------------------------------------------

AppSettings ReadAppSettings(TQRegistry& reg, const std::string& appName) {
  AppSettings s;
  if (!UsableAppName(appName)) return s;
  auto path = [&](const char* name) { return AppPath(appName, name); };
  s.maximized = ReadExactlyOne(reg, path("VTMaximized"), s.maximized);
  s.left = ReadIntegerOr(reg, path("VTLeft"), s.left);
  s.top = ReadIntegerOr(reg, path("VTTop"), s.top);
  s.width = ReadIntegerOr(reg, path("VTWidth"), s.width);
  s.height = ReadIntegerOr(reg, path("VTHeight"), s.height);
  s.previewWidth = ReadIntegerOr(reg, path("PRWidth"), s.previewWidth);
  s.hotWidth = ReadIntegerOr(reg, path("PLWidth"), s.hotWidth);
  std::string text;
  // An existing app key reads a missing value as empty text: that is no folder either.
  if (reg.ReadString(path("LastOpenFolder"), text) && !text.empty()) s.lastOpenFolder = text;
  s.showPreview = ReadExactlyOne(reg, path("ShowPreview"), s.showPreview);
  s.opMode = ReadIntegerOr(reg, path("OpMode"), s.opMode);
  text.clear();
  if (reg.ReadString(path("UserOpenFolder"), text)) s.userOpenFolder = text;
  s.viewBmp = ReadNonZero(reg, path("ViewBMP"), s.viewBmp);
  s.viewJpg = ReadNonZero(reg, path("ViewJPG"), s.viewJpg);
  s.viewGif = ReadNonZero(reg, path("ViewGIF"), s.viewGif);
  return s;
}

void WritePanelState(TQRegistry& reg, const std::string& appName, const AppSettings& s) {
  if (!UsableAppName(appName)) return;
  auto path = [&](const char* name) { return AppPath(appName, name); };
  reg.WriteInteger(path("VTMaximized"), s.maximized ? 1 : 0);
  reg.WriteInteger(path("VTLeft"), s.left);
  reg.WriteInteger(path("VTTop"), s.top);
  reg.WriteInteger(path("VTWidth"), s.width);
  reg.WriteInteger(path("VTHeight"), s.height);
  reg.WriteInteger(path("PRWidth"), s.previewWidth);
  reg.WriteInteger(path("PLWidth"), s.hotWidth);
  if (s.lastOpenFolder) reg.WriteString(path("LastOpenFolder"), *s.lastOpenFolder);
}

void WriteAppOptions(TQRegistry& reg, const std::string& appName, const AppSettings& s) {
  if (!UsableAppName(appName)) return;
  auto path = [&](const char* name) { return AppPath(appName, name); };
  reg.WriteInteger(path("ShowPreview"), s.showPreview ? 1 : 0);
  reg.WriteInteger(path("OpMode"), s.opMode);
  reg.WriteString(path("UserOpenFolder"), s.userOpenFolder);
  reg.WriteInteger(path("ViewBMP"), s.viewBmp ? 1 : 0);
  reg.WriteInteger(path("ViewJPG"), s.viewJpg ? 1 : 0);
  reg.WriteInteger(path("ViewGIF"), s.viewGif ? 1 : 0);
}

// --- geometry rules --------------------------------------------------------------------------

std::int32_t CentreOrigin(int screen, std::int32_t size) {
  // The halved difference of two 32-bit values always fits 32 bits again.
  return static_cast<std::int32_t>((static_cast<std::int64_t>(screen) - size) / 2);
}

// --- Config.ini ------------------------------------------------------------------------------

bool IniBoolean(const std::optional<std::string>& text) {
  if (!text) return false;
  const std::string& t = *text;
  std::size_t begin = t.find_first_not_of(" \t");
  if (begin == std::string::npos) return false;
  std::size_t end = t.find_last_not_of(" \t") + 1;
  std::size_t i = begin;
  if (t[i] == '+' || t[i] == '-') ++i;
  if (i == end) return false;
  bool nonZero = false;
  for (; i < end; ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
    if (t[i] != '0') nonZero = true;
  }
  return nonZero;
}

DebugSwitches ReadDebugSwitches(IniLookup lookup, void* context) {
  DebugSwitches s;
  if (!lookup) return s;
  auto on = [&](const char* key) { return IniBoolean(lookup(context, kIniDebugSection, key)); };
  s.showDlgBorder = on("ShowDlgBorder");
  s.showErrors = on("ShowErrors");
  s.noAttachVTR = on("NoAttachVTR");
  s.debugMode = on("DebugMode");
  return s;
}

}  // namespace vt
