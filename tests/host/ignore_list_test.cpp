#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "protocol/IgnoreList.h"

namespace {

std::unique_ptr<vt::SharedBlock> ZeroBlock() {
  auto block = std::make_unique<vt::SharedBlock>();
  std::memset(block.get(), 0, sizeof(vt::SharedBlock));
  return block;
}

TEST(IgnoreList, WritesUpperCaseAndEndsTheList) {
  auto block = ZeroBlock();
  auto r = vt::PutIgnoreList(*block, {"note.exe", "Setup.EXE"});
  EXPECT_EQ(r.written, 2);
  EXPECT_EQ(vt::SharedIgnoreEntry(*block, 0), "NOTE.EXE");
  EXPECT_EQ(vt::SharedIgnoreEntry(*block, 1), "SETUP.EXE");
  EXPECT_EQ(block->IgnoreList[2][0], '\0');

  // A shorter list later: the old entry 1 stays behind the end mark but is never read.
  vt::PutIgnoreList(*block, {"one.exe"});
  EXPECT_EQ(block->IgnoreList[1][0], '\0');
  EXPECT_STREQ(block->IgnoreList[2], "");
  EXPECT_EQ(vt::ReadIgnoreList(*block), std::vector<std::string>{"ONE.EXE"});
  EXPECT_TRUE(vt::IgnoreListContains(*block, "ONE.EXE"));
  EXPECT_FALSE(vt::IgnoreListContains(*block, "SETUP.EXE"));
}

TEST(IgnoreList, EmptyListWritesOnlyTheEndMark) {
  auto block = ZeroBlock();
  std::memset(block->IgnoreList, 'x', sizeof(block->IgnoreList));
  vt::PutIgnoreList(*block, {});
  EXPECT_EQ(block->IgnoreList[0][0], '\0');
  EXPECT_EQ(block->IgnoreList[0][1], 'x');
  EXPECT_TRUE(vt::ReadIgnoreList(*block).empty());
}

TEST(IgnoreList, LongNamesAreRefusedAndNothingPassesTheArea) {
  auto block = ZeroBlock();
  std::memset(block->Reserved3, 0x5A, sizeof(block->Reserved3));
  std::vector<std::string> names;
  names.push_back(std::string(80, 'a'));   // one too long
  names.push_back(std::string(79, 'b'));   // fits exactly
  for (int i = 0; i < 60; ++i) names.push_back("p" + std::to_string(i) + ".exe");
  auto r = vt::PutIgnoreList(*block, names);
  EXPECT_EQ(r.written, 50);
  EXPECT_EQ(r.refused, 1 + 11);
  EXPECT_EQ(vt::SharedIgnoreEntry(*block, 0), std::string(79, 'B'));
  EXPECT_EQ(vt::SharedIgnoreEntry(*block, 49), "P48.EXE");
  EXPECT_EQ(vt::ReadIgnoreList(*block).size(), 50u);
  for (unsigned char c : block->Reserved3) ASSERT_EQ(c, 0x5A);
}

TEST(IgnoreList, ReaderNeverTrustsAnEntryWithoutItsNul) {
  auto block = ZeroBlock();
  vt::PutIgnoreList(*block, {"a.exe", "b.exe", "c.exe"});
  std::memset(block->IgnoreList[1], 'Q', vt::kIgnoreEntrySize);  // no NUL anywhere
  EXPECT_EQ(vt::SharedIgnoreEntry(*block, 1), "");
  EXPECT_FALSE(vt::IgnoreListContains(*block, std::string(80, 'Q')));
  EXPECT_TRUE(vt::IgnoreListContains(*block, "C.EXE"));
  EXPECT_EQ(vt::ReadIgnoreList(*block), (std::vector<std::string>{"A.EXE", "C.EXE"}));
  EXPECT_EQ(vt::SharedIgnoreEntry(*block, -1), "");
  EXPECT_EQ(vt::SharedIgnoreEntry(*block, 50), "");
}

TEST(IgnoreList, EmptyNamesAreSkippedAndEmptyProgramNeverMatches) {
  auto block = ZeroBlock();
  vt::PutIgnoreList(*block, {"", "notepad.exe"});
  EXPECT_EQ(vt::ReadIgnoreList(*block), std::vector<std::string>{"NOTEPAD.EXE"});
  EXPECT_FALSE(vt::IgnoreListContains(*block, ""));
}

}  // namespace
