#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "settings/Catalogue.h"
#include "settings/MemoryRegistry.h"

namespace {

class Catalogue : public ::testing::Test {
 protected:
  Catalogue() : reg(mem) { reg.SetBaseKey(vt::kProgramKey); }
  vt::MemoryRegistry mem;
  vt::TQRegistry reg;
};

TEST_F(Catalogue, FreshUserGetsEveryDefault) {
  EXPECT_FALSE(vt::ReadAutoRun(reg).has_value());
  EXPECT_FALSE(vt::HasNoFirstRun(reg));
  EXPECT_TRUE(vt::ReadIgnoreNames(reg).empty());
  EXPECT_FALSE(vt::ReadFoldersCount(reg).has_value());

  vt::HotListLooks looks = vt::ReadHotListLooks(reg);
  EXPECT_FALSE(looks.color || looks.textColor || looks.fontSize || looks.fontName || looks.fontStyle);

  vt::AppSettings s = vt::ReadAppSettings(reg, "NOTEPAD.EXE");
  EXPECT_FALSE(s.maximized);
  EXPECT_EQ(s.left, 32000);
  EXPECT_EQ(s.top, 32000);
  EXPECT_EQ(s.width, 635);
  EXPECT_EQ(s.height, 395);
  EXPECT_EQ(s.previewWidth, 150);
  EXPECT_EQ(s.hotWidth, 100);
  EXPECT_FALSE(s.lastOpenFolder.has_value());
  EXPECT_TRUE(s.showPreview);
  EXPECT_EQ(s.opMode, vt::kOpModeLastFolder);
  EXPECT_EQ(s.userOpenFolder, "");
  EXPECT_TRUE(s.viewBmp && s.viewJpg && s.viewGif);
  // Reading creates nothing.
  EXPECT_EQ(mem.Open(vt::kProgramKey, false), 0u);
}

TEST_F(Catalogue, FlagsFollowTheirOwnReadingRules) {
  vt::WriteAutoRun(reg, true);
  EXPECT_EQ(vt::ReadAutoRun(reg), 1);
  reg.WriteInteger("?AutoRun", 2);
  EXPECT_EQ(vt::ReadAutoRun(reg), 2);  // raw value: the controller decides what 2 means
  vt::WriteAutoRun(reg, false);
  EXPECT_EQ(vt::ReadAutoRun(reg), 0);

  reg.WriteInteger("?NoFirstRun", 0);  // only its presence counts
  EXPECT_TRUE(vt::HasNoFirstRun(reg));

  const std::string app = "Options\\APP.EXE?";
  reg.WriteInteger(app + "ShowPreview", 2);   // anything but 1 hides the pane
  reg.WriteInteger(app + "ViewBMP", 2);       // any non-zero shows BMP
  reg.WriteInteger(app + "ViewJPG", 0);
  reg.WriteInteger(app + "VTMaximized", 2);   // only exactly 1 is maximized
  reg.WriteString(app + "ViewGIF", "0");      // not an integer: the default stays
  vt::AppSettings s = vt::ReadAppSettings(reg, "APP.EXE");
  EXPECT_FALSE(s.showPreview);
  EXPECT_TRUE(s.viewBmp);
  EXPECT_FALSE(s.viewJpg);
  EXPECT_FALSE(s.maximized);
  EXPECT_TRUE(s.viewGif);

  reg.WriteInteger(app + "VTMaximized", 1);
  reg.WriteInteger(app + "ShowPreview", 1);
  s = vt::ReadAppSettings(reg, "APP.EXE");
  EXPECT_TRUE(s.maximized);
  EXPECT_TRUE(s.showPreview);
}

TEST_F(Catalogue, AppSectionsKeepEachProgramApart) {
  vt::AppSettings saved;
  saved.maximized = true;
  saved.left = -20;
  saved.top = 40;
  saved.width = 800;
  saved.height = 600;
  saved.previewWidth = 210;
  saved.hotWidth = 90;
  saved.lastOpenFolder = "C:\\Data";
  vt::WritePanelState(reg, "NOTEPAD.EXE", saved);
  saved.showPreview = false;
  saved.opMode = vt::kOpModeUserFolder;
  saved.userOpenFolder = "D:\\Pictures";
  saved.viewGif = false;
  vt::WriteAppOptions(reg, "NOTEPAD.EXE", saved);

  std::int32_t width = 0;
  EXPECT_TRUE(reg.ReadInteger("Options\\NOTEPAD.EXE?VTWidth", width));
  EXPECT_EQ(width, 800);

  vt::AppSettings back = vt::ReadAppSettings(reg, "notepad.exe");  // key names ignore case
  EXPECT_TRUE(back.maximized);
  EXPECT_EQ(back.left, -20);
  EXPECT_EQ(back.top, 40);
  EXPECT_EQ(back.width, 800);
  EXPECT_EQ(back.height, 600);
  EXPECT_EQ(back.previewWidth, 210);
  EXPECT_EQ(back.hotWidth, 90);
  EXPECT_EQ(back.lastOpenFolder, "C:\\Data");
  EXPECT_FALSE(back.showPreview);
  EXPECT_EQ(back.opMode, 3);
  EXPECT_EQ(back.userOpenFolder, "D:\\Pictures");
  EXPECT_TRUE(back.viewBmp);
  EXPECT_FALSE(back.viewGif);

  vt::AppSettings other = vt::ReadAppSettings(reg, "WORDPAD.EXE");
  EXPECT_EQ(other.width, 635);
  EXPECT_FALSE(other.lastOpenFolder.has_value());
  EXPECT_EQ(other.opMode, 1);
}

TEST_F(Catalogue, PanelStateWithoutAFolderKeepsTheStoredOne) {
  vt::AppSettings s;
  s.lastOpenFolder = "C:\\Old";
  vt::WritePanelState(reg, "APP.EXE", s);
  s.lastOpenFolder.reset();  // the dialog showed a virtual folder
  s.width = 700;
  vt::WritePanelState(reg, "APP.EXE", s);
  vt::AppSettings back = vt::ReadAppSettings(reg, "APP.EXE");
  EXPECT_EQ(back.lastOpenFolder, "C:\\Old");
  EXPECT_EQ(back.width, 700);
}

TEST_F(Catalogue, AppNamesFromOtherProcessesCannotReachOtherKeys) {
  EXPECT_TRUE(vt::UsableAppName("NOTEPAD.EXE"));
  EXPECT_TRUE(vt::UsableAppName(std::string(255, 'A')));
  for (const std::string& bad : {std::string(), std::string(256, 'A'), std::string("A?VTLeft"),
                                 std::string("..\\IgnoreList"), std::string("A/B"), std::string("A\0B", 3)})
    EXPECT_FALSE(vt::UsableAppName(bad)) << bad;

  vt::AppSettings s;
  s.width = 1;
  s.opMode = 3;
  vt::WritePanelState(reg, "", s);           // would land in Options itself
  vt::WritePanelState(reg, "X\\Y", s);       // would nest
  vt::WriteAppOptions(reg, "A?OpMode", s);   // would split elsewhere
  EXPECT_EQ(mem.Open(vt::kProgramKey, false), 0u);  // nothing at all was written

  reg.WriteInteger("Options?VTWidth", 5);
  EXPECT_EQ(vt::ReadAppSettings(reg, "").width, 635);
}

TEST_F(Catalogue, IgnoreListSkipsBadEntriesAndBoundsTheCount) {
  vt::WriteIgnoreNames(reg, {"NOTE.EXE", "SETUP.EXE", "THIRD.EXE"});
  std::int32_t count = 0;
  ASSERT_TRUE(reg.ReadInteger("IgnoreList?IgnoreCount", count));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(vt::ReadIgnoreNames(reg), (std::vector<std::string>{"NOTE.EXE", "SETUP.EXE", "THIRD.EXE"}));

  // A shorter list later: the old third entry stays behind the count and is not read.
  vt::WriteIgnoreNames(reg, {"ONE.EXE"});
  EXPECT_EQ(vt::ReadIgnoreNames(reg), std::vector<std::string>{"ONE.EXE"});
  std::string left;
  EXPECT_TRUE(reg.ReadString("IgnoreList?Ignore2", left));
  EXPECT_EQ(left, "THIRD.EXE");

  // Empty, unreadable and missing entries are skipped, not counted.
  reg.WriteInteger("IgnoreList?IgnoreCount", 5);
  reg.WriteString("IgnoreList?Ignore0", "");
  reg.WriteInteger("IgnoreList?Ignore1", 7);
  reg.WriteString("IgnoreList?Ignore3", "FOUR.EXE");
  EXPECT_EQ(vt::ReadIgnoreNames(reg), (std::vector<std::string>{"THIRD.EXE", "FOUR.EXE"}));

  reg.WriteInteger("IgnoreList?IgnoreCount", -4);
  EXPECT_TRUE(vt::ReadIgnoreNames(reg).empty());
  reg.WriteString("IgnoreList?IgnoreCount", "3");
  EXPECT_TRUE(vt::ReadIgnoreNames(reg).empty());
}

TEST_F(Catalogue, AbsurdIgnoreCountReadsAtMostTheBound) {
  reg.WriteInteger("IgnoreList?IgnoreCount", INT32_MAX);
  reg.WriteString("IgnoreList?Ignore9999", "LAST.EXE");
  reg.WriteString("IgnoreList?Ignore10000", "BEYOND.EXE");
  EXPECT_EQ(vt::ReadIgnoreNames(reg), std::vector<std::string>{"LAST.EXE"});
}

TEST_F(Catalogue, HotFolderValuesAndTheirBounds) {
  EXPECT_FALSE(vt::ReadFoldersCount(reg).has_value());
  vt::WriteFoldersCount(reg, 2);
  EXPECT_EQ(vt::ReadFoldersCount(reg), 2);
  reg.WriteInteger("HotFolders?FoldersCount", -1);
  EXPECT_EQ(vt::ReadFoldersCount(reg), 0);
  reg.WriteInteger("HotFolders?FoldersCount", 2000000000);
  EXPECT_EQ(vt::ReadFoldersCount(reg), vt::kMaxStoredListCount);
  vt::WriteFoldersCount(reg, -9);
  EXPECT_EQ(vt::ReadFoldersCount(reg), 0);
  vt::WriteFoldersCount(reg, INT32_MAX);
  std::int32_t raw = 0;
  EXPECT_TRUE(reg.ReadInteger("HotFolders?FoldersCount", raw));
  EXPECT_EQ(raw, vt::kMaxStoredListCount);

  const std::uint8_t list[8] = {6, 0, 1, 2, 3, 4, 0, 0};
  vt::WriteFolderIdList(reg, 1, list, sizeof list);
  EXPECT_EQ(vt::ReadFolderIdList(reg, 1, vt::kPanelIdListCapacity), std::vector<std::uint8_t>(list, list + 8));
  EXPECT_TRUE(vt::ReadFolderIdList(reg, 1, 7).empty());  // larger than the reader takes
  EXPECT_TRUE(vt::ReadFolderIdList(reg, 1, 0).empty());
  EXPECT_TRUE(vt::ReadFolderIdList(reg, 1, -5).empty());
  EXPECT_TRUE(vt::ReadFolderIdList(reg, 0, vt::kTrayIdListCapacity).empty());
  EXPECT_TRUE(vt::ReadFolderIdList(reg, -1, vt::kTrayIdListCapacity).empty());
  reg.WriteString("HotFolders?Folder2", "C:\\");
  EXPECT_TRUE(vt::ReadFolderIdList(reg, 2, vt::kPanelIdListCapacity).empty());
  // A capacity beyond the bound is taken as the bound, not as a huge allocation.
  EXPECT_EQ(vt::ReadFolderIdList(reg, 1, INT_MAX).size(), 8u);

  EXPECT_FALSE(vt::ReadFolderLink(reg, 1).has_value());
  vt::WriteFolderLink(reg, 1, "12345.lnk");
  EXPECT_EQ(vt::ReadFolderLink(reg, 1), "12345.lnk");
  std::string stored;
  EXPECT_TRUE(reg.ReadString("HotFolders?Folder1-lnk", stored));
  vt::WriteFolderLink(reg, 1, "");  // no shortcut any more
  EXPECT_FALSE(vt::ReadFolderLink(reg, 1).has_value());
}

TEST(CatalogueFontStyle, EncodesBitsAndDecodesGreedily) {
  for (std::int32_t v = 0; v <= 15; ++v) EXPECT_EQ(vt::EncodeFontStyle(vt::DecodeFontStyle(v)), v) << v;
  vt::FontStyle five = vt::DecodeFontStyle(5);
  EXPECT_TRUE(five.underline && five.bold);
  EXPECT_FALSE(five.italic || five.strikeOut);
  vt::FontStyle all{true, true, true, true};
  EXPECT_EQ(vt::DecodeFontStyle(16), all);
  EXPECT_EQ(vt::DecodeFontStyle(INT32_MAX), all);
  EXPECT_EQ(vt::DecodeFontStyle(-1), vt::FontStyle{});
  EXPECT_EQ(vt::DecodeFontStyle(INT32_MIN), vt::FontStyle{});
  EXPECT_EQ(vt::EncodeFontStyle({false, true, false, true}), 10);
}

TEST_F(Catalogue, HotListLooksApplyOnlyUsableValues) {
  vt::HotListLooks looks;
  looks.color = 0x00112233;
  looks.textColor = 0x80000008;
  looks.fontSize = 10;
  looks.fontName = "Tahoma";
  looks.fontStyle = vt::FontStyle{true, false, false, true};
  vt::WriteHotListLooks(reg, looks);
  std::int32_t style = 0;
  EXPECT_TRUE(reg.ReadInteger("Options?HotFontStyle", style));
  EXPECT_EQ(style, 9);
  vt::HotListLooks back = vt::ReadHotListLooks(reg);
  EXPECT_EQ(back.color, 0x00112233u);
  EXPECT_EQ(back.textColor, 0x80000008u);
  EXPECT_EQ(back.fontSize, 10);
  EXPECT_EQ(back.fontName, "Tahoma");
  EXPECT_EQ(back.fontStyle, looks.fontStyle);

  reg.WriteInteger("Options?HotColor", 0x01000000);             // neither COLORREF nor system
  reg.WriteInteger("Options?HotTextColor", static_cast<std::int32_t>(0x8000001F));  // index 31
  reg.WriteInteger("Options?HotFontSize", 0);
  reg.WriteString("Options?HotFontName", "");
  back = vt::ReadHotListLooks(reg);
  EXPECT_FALSE(back.color || back.textColor || back.fontSize || back.fontName);
  reg.WriteInteger("Options?HotColor", static_cast<std::int32_t>(0x80010008));  // index out of range
  reg.WriteInteger("Options?HotTextColor", static_cast<std::int32_t>(0x8000001E));  // the last system colour
  back = vt::ReadHotListLooks(reg);
  EXPECT_FALSE(back.color);
  EXPECT_EQ(back.textColor, 0x8000001Eu);
  reg.WriteInteger("Options?HotFontSize", 1001);
  EXPECT_FALSE(vt::ReadHotListLooks(reg).fontSize);
  reg.WriteInteger("Options?HotFontSize", 1000);
  EXPECT_EQ(vt::ReadHotListLooks(reg).fontSize, 1000);

  // Only present fields are written.
  vt::WriteHotListLooks(reg, vt::HotListLooks{});
  EXPECT_EQ(vt::ReadHotListLooks(reg).fontSize, 1000);
}

TEST(CatalogueCentring, CentredOrigin) {
  EXPECT_EQ(vt::CentreOrigin(1280, 635), 322);
  EXPECT_EQ(vt::CentreOrigin(1024, 395), 314);
  EXPECT_EQ(vt::CentreOrigin(600, 635), -17);  // truncated toward zero, not down
  EXPECT_EQ(vt::CentreOrigin(INT_MAX, INT32_MIN), INT32_MAX);
  EXPECT_EQ(vt::CentreOrigin(INT_MIN, INT32_MAX), -INT32_MAX);
}

TEST(CatalogueIniBoolean, NumbersOnly) {
  for (const char* on : {"1", " 5", "+2", "-3", "\t7\t", "99999999999999999999", "007"})
    EXPECT_TRUE(vt::IniBoolean(std::string(on))) << on;
  for (const char* off : {"0", "-0", "+0", "000", "", "  ", "12abc", "1.5", "0x1", "yes", "true", "+", "1 2"})
    EXPECT_FALSE(vt::IniBoolean(std::string(off))) << off;
  EXPECT_FALSE(vt::IniBoolean(std::nullopt));
}

std::optional<std::string> FakeIni(void* context, const char* section, const char* key) {
  auto* keys = static_cast<std::map<std::string, std::string>*>(context);
  auto it = keys->find(std::string(section) + "/" + key);
  if (it == keys->end()) return std::nullopt;
  return it->second;
}

TEST(CatalogueDebugSwitches, ReadFromTheDebugSection) {
  std::map<std::string, std::string> keys = {
      {"Debug/ShowDlgBorder", "1"}, {"Debug/ShowErrors", "0"}, {"Debug/DebugMode", "on"}, {"Common/NoAttachVTR", "1"}};
  vt::DebugSwitches s = vt::ReadDebugSwitches(FakeIni, &keys);
  EXPECT_TRUE(s.showDlgBorder);
  EXPECT_FALSE(s.showErrors);
  EXPECT_FALSE(s.noAttachVTR);  // wrong section
  EXPECT_FALSE(s.debugMode);    // not a number

  keys = {{"Debug/NoAttachVTR", "2"}, {"Debug/DebugMode", "-1"}};
  s = vt::ReadDebugSwitches(FakeIni, &keys);
  EXPECT_TRUE(s.noAttachVTR);
  EXPECT_TRUE(s.debugMode);

  s = vt::ReadDebugSwitches(nullptr, nullptr);  // no file at all
  EXPECT_FALSE(s.showDlgBorder || s.showErrors || s.noAttachVTR || s.debugMode);
}

}  // namespace
