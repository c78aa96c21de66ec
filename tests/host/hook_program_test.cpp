// The host program's path and name as a hook instance reports them, and the ignore decision.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "hooklib/HostProgram.h"
#include "protocol/IgnoreList.h"

namespace {

std::string PathOf(const std::string& commandLine) {
  // One guard byte behind the documented buffer catches an overrun under ASan too.
  std::vector<char> out(vt::hook::kProgramPathMax + 2, '\x7f');
  std::size_t n = vt::hook::ProgramPathFromCommandLine(commandLine, out.data());
  EXPECT_EQ(out[n], '\0');
  EXPECT_EQ(out[vt::hook::kProgramPathMax + 1], '\x7f') << "wrote past the buffer";
  EXPECT_LE(n, vt::hook::kProgramPathMax);
  return std::string(out.data(), n);
}

TEST(HookProgram, QuotedProgramGivesThePathAlone) {
  EXPECT_EQ(PathOf("\"C:\\Program Files\\App\\app.exe\" \"C:\\My Docs\\a b.txt\""),
            "C:\\Program Files\\App\\app.exe");
  EXPECT_EQ(vt::hook::FileNamePart(PathOf("\"C:\\Program Files\\App\\app.exe\" \"x\"")), "app.exe");
  // A long argument tail does not leak into the path.
  EXPECT_EQ(PathOf("\"C:\\a.exe\" " + std::string(1500, 'x')), "C:\\a.exe");
  EXPECT_EQ(PathOf("\"C:\\a.exe\""), "C:\\a.exe");
}

TEST(HookProgram, AnArgumentNeverNamesTheProgram) {
  // The module's own path is what the hook reports; a command line is only its fallback, and
  // there an unquoted program ends at the first blank.
  char out[vt::hook::kProgramPathMax + 1];
  std::size_t n = vt::hook::BoundedProgramPath("C:\\WINDOWS\\notepad.exe", out);
  EXPECT_EQ(vt::hook::FileNamePart(std::string_view(out, n)), "notepad.exe");
  EXPECT_EQ(PathOf("C:\\WINDOWS\\notepad.exe C:\\a\\b.txt"), "C:\\WINDOWS\\notepad.exe");
  EXPECT_EQ(vt::hook::FileNamePart(PathOf("C:\\WINDOWS\\notepad.exe C:\\a\\b.txt")), "notepad.exe");
  EXPECT_EQ(PathOf("notepad.exe\t/p"), "notepad.exe");
  EXPECT_EQ(vt::hook::FileNamePart("C:notepad.exe"), "notepad.exe");
  EXPECT_EQ(vt::hook::FileNamePart("C:\\dir\\"), "");
}

TEST(HookProgram, OddQuotingHasADefinedResult) {
  EXPECT_EQ(PathOf("\"C:\\no close quote.exe -x"), "C:\\no close quote.exe -x");
  EXPECT_EQ(PathOf("\"\""), "");
  EXPECT_EQ(PathOf("\""), "");
  EXPECT_EQ(PathOf(""), "");
}

TEST(HookProgram, LongPathsAreCutToTheirLast996CharactersBehindAnEllipsis) {
  std::string line;
  for (int i = 0; i < 1500; ++i) line += static_cast<char>('a' + i % 26);
  std::string path = PathOf(line);
  ASSERT_EQ(path.size(), 1000u);
  EXPECT_EQ(path.substr(0, 4), "... ");
  EXPECT_EQ(path.substr(4), line.substr(1500 - 996));

  EXPECT_EQ(PathOf(std::string(1000, 'p')), std::string(1000, 'p')) << "exactly 1000 stays whole";
  EXPECT_EQ(PathOf(std::string(1001, 'p')).substr(0, 5), "... p");
  std::string quoted = "\"" + std::string(1200, 'q') + "\" arg";
  EXPECT_EQ(PathOf(quoted), "... " + std::string(996, 'q'));
  // Beyond the longest command line Windows allows, only the first 32768 characters count.
  std::string huge(40000, 'h');
  huge[32767] = 'E';
  EXPECT_EQ(PathOf(huge).back(), 'E');
}

class HookIgnore : public ::testing::Test {
 protected:
  void SetUp() override {
    block = std::make_unique<vt::SharedBlock>();
    std::memset(block.get(), 0, sizeof *block);
  }
  std::unique_ptr<vt::SharedBlock> block;
};

TEST_F(HookIgnore, ListedProgramsAreIgnoredUntilTheListIsShortened) {
  vt::PutIgnoreList(*block, {"notepad.exe"});
  EXPECT_TRUE(vt::hook::IsIgnoredName(*block, "NOTEPAD.EXE"));
  EXPECT_FALSE(vt::hook::IsIgnoredName(*block, "WORDPAD.EXE"));
  EXPECT_FALSE(vt::hook::IsIgnoredName(*block, "NOTEPAD.EX")) << "exact comparison, no prefix";
  vt::PutIgnoreList(*block, {});
  EXPECT_FALSE(vt::hook::IsIgnoredName(*block, "NOTEPAD.EXE"));
}

TEST_F(HookIgnore, AnUnnamedProgramIsIgnored) {
  EXPECT_TRUE(vt::hook::IsIgnoredName(*block, ""));
}

TEST_F(HookIgnore, DamagedOrFullListsAreReadWithinTheirEntries) {
  // All 50 entries used, the last one filling its 80 bytes without a NUL.
  for (int i = 0; i < vt::kIgnoreEntries; ++i) std::snprintf(block->IgnoreList[i], 80, "P%d.EXE", i);
  std::memset(block->IgnoreList[49], 'A', vt::kIgnoreEntrySize);
  EXPECT_TRUE(vt::hook::IsIgnoredName(*block, "P48.EXE"));
  EXPECT_FALSE(vt::hook::IsIgnoredName(*block, std::string(80, 'A')));
  EXPECT_FALSE(vt::hook::IsIgnoredName(*block, std::string(79, 'A')));
  EXPECT_FALSE(vt::hook::IsIgnoredName(*block, "P50.EXE"));
}

}  // namespace
