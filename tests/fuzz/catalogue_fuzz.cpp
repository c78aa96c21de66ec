// libFuzzer target: the catalogue's readers of the hot-folder list looks (colours, font size,
// name and style), of a program's section and of the ignore list, from stored values of
// fuzzed types and bytes, and the Config.ini number rule on fuzzed text. Besides the sanitizers' findings it stops on
// a look that breaks its reading rule or does not survive being written and read again.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "FuzzInput.h"
#include "settings/Catalogue.h"
#include "settings/MemoryRegistry.h"

namespace {

constexpr const char* kLookNames[] = {"HotColor", "HotTextColor", "HotFontSize", "HotFontName", "HotFontStyle"};
constexpr const char* kAppNames[] = {"VTMaximized", "VTLeft", "VTTop", "VTWidth", "VTHeight", "PRWidth", "PLWidth",
                                     "LastOpenFolder", "ShowPreview", "OpMode", "UserOpenFolder", "ViewBMP",
                                     "ViewJPG", "ViewGIF"};

// A value as another program may have stored it: mostly a DWORD or a text of its kind, or
// any type with any bytes.
void PutValue(vt::MemoryRegistry& mem, const std::string& key, const std::string& name, vtfuzz::Input& in) {
  const std::uint8_t head = in.U8();
  if (head & 0x80) return;  // absent
  vt::RegType type = static_cast<vt::RegType>(head % 6);
  std::vector<std::uint8_t> data;
  if (head & 0x40) {
    data = in.Bytes(in.U8() % 40);
  } else {
    type = head & 1 ? vt::RegType::String : vt::RegType::Dword;
    data = in.Bytes(type == vt::RegType::Dword ? 4 : in.U8() % 40);
  }
  const auto k = mem.Open(key, true);
  mem.Set(k, name, type, data.data(), data.size());
  mem.Close(k);
}

void CheckStyle(std::int32_t value) {
  const vt::FontStyle style = vt::DecodeFontStyle(value);
  const std::int32_t bits = vt::EncodeFontStyle(style);
  VT_FUZZ_CHECK(bits >= 0 && bits <= 15 && vt::DecodeFontStyle(bits) == style);
  if (value >= 0 && value <= 15) VT_FUZZ_CHECK(bits == value);
  if (value <= 0) VT_FUZZ_CHECK(bits == 0);
  if (value >= 15) VT_FUZZ_CHECK(bits == 15);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t length) {
  vtfuzz::Input in{bytes, length};
  const std::string options = std::string(vt::kProgramKey) + "\\Options";
  vt::MemoryRegistry mem;
  for (const char* name : kLookNames) PutValue(mem, options, name, in);
  vt::TQRegistry reg(mem);
  reg.SetBaseKey(vt::kProgramKey);

  const vt::HotListLooks looks = vt::ReadHotListLooks(reg);
  if (looks.color) VT_FUZZ_CHECK(vt::UsableColour(*looks.color));
  if (looks.textColor) VT_FUZZ_CHECK(vt::UsableColour(*looks.textColor));
  if (looks.fontSize) VT_FUZZ_CHECK(*looks.fontSize >= 1 && *looks.fontSize <= vt::kMaxHotFontSize);
  if (looks.fontName) VT_FUZZ_CHECK(!looks.fontName->empty() && looks.fontName->find('\0') == std::string::npos);
  vt::MemoryRegistry fresh;
  vt::TQRegistry out(fresh);
  out.SetBaseKey(vt::kProgramKey);
  vt::WriteHotListLooks(out, looks);
  const vt::HotListLooks again = vt::ReadHotListLooks(out);
  VT_FUZZ_CHECK(again.color == looks.color && again.textColor == looks.textColor && again.fontSize == looks.fontSize &&
        again.fontName == looks.fontName && again.fontStyle == looks.fontStyle);

  const auto raw = static_cast<std::int32_t>(in.U32());
  CheckStyle(raw);
  const auto colour = static_cast<std::uint32_t>(raw);
  VT_FUZZ_CHECK(vt::UsableColour(colour) == (colour >> 24 == 0 || (colour >> 24 == 0x80 && (colour & 0xFFFFFF) <= 30)));

  // A program's section under a name from another process.
  const std::string app = in.Text(in.U8() % 24);
  if (vt::UsableAppName(app)) {
    for (const char* name : kAppNames) PutValue(mem, options + "\\" + app, name, in);
  }
  const vt::AppSettings s = vt::ReadAppSettings(reg, app);
  if (s.lastOpenFolder) VT_FUZZ_CHECK(!s.lastOpenFolder->empty());
  VT_FUZZ_CHECK(mem.OpenKeys() == 0);

  // The ignore list as stored: a count and the entries, of any type. The count stays within
  // -128..127: every number up to it is a registry read, and the bound has its own test.
  const std::string ignore = std::string(vt::kProgramKey) + "\\IgnoreList";
  const auto countBits = static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int8_t>(in.U8())));
  {
    const std::uint8_t dword[4] = {static_cast<std::uint8_t>(countBits), static_cast<std::uint8_t>(countBits >> 8),
                                   static_cast<std::uint8_t>(countBits >> 16), static_cast<std::uint8_t>(countBits >> 24)};
    const auto k = mem.Open(ignore, true);
    mem.Set(k, "IgnoreCount", vt::RegType::Dword, dword, sizeof dword);
    mem.Close(k);
  }
  for (int n = 0, entries = in.U8() % 70; n < entries; ++n) PutValue(mem, ignore, "Ignore" + std::to_string(n), in);
  const std::vector<std::string> names = vt::ReadIgnoreNames(reg);
  VT_FUZZ_CHECK(names.size() <= static_cast<std::size_t>(std::clamp(static_cast<std::int32_t>(countBits), 0, vt::kMaxStoredListCount)));
  for (const std::string& name : names) VT_FUZZ_CHECK(!name.empty() && name.find('\0') == std::string::npos);
  vt::WriteIgnoreNames(out, names);
  VT_FUZZ_CHECK(vt::ReadIgnoreNames(out) == names);

  const int screen = static_cast<std::int32_t>(in.U32());
  const auto size = static_cast<std::int32_t>(in.U32());
  VT_FUZZ_CHECK(vt::CentreOrigin(screen, size) == (static_cast<std::int64_t>(screen) - size) / 2);

  const std::string text = in.Text(in.U8());
  if (vt::IniBoolean(text)) VT_FUZZ_CHECK(text.find_first_of("123456789") != std::string::npos);
  return 0;
}
