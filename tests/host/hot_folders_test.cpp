// The hot folders' stored list and its registry format, and the list's window-free rules.
#include <gtest/gtest.h>

#include "kit/ShellIdArray.h"
#include "panel/HotFolderList.h"
#include "panel/HotRules.h"
#include "settings/Catalogue.h"
#include "settings/MemoryRegistry.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A one-item list whose item carries `tag`, padded to `size` bytes in all.
Bytes Folder(std::uint8_t tag, std::size_t size = 8) {
  Bytes b(size, tag);
  const std::size_t cb = size - 2;
  b[0] = static_cast<std::uint8_t>(cb & 0xFF);
  b[1] = static_cast<std::uint8_t>(cb >> 8);
  b[size - 2] = b[size - 1] = 0;
  return b;
}

class HotStore : public ::testing::Test {
 protected:
  HotStore() : reg(mem) { reg.SetBaseKey(vt::kProgramKey); }
  void Store(int n, const Bytes& list, const char* link = nullptr) {
    reg.WriteBinary("HotFolders?Folder" + std::to_string(n), list.data(), static_cast<int>(list.size()));
    if (link) reg.WriteString("HotFolders?Folder" + std::to_string(n) + "-lnk", link);
  }
  // Present in the HotFolders key, whatever its type.
  bool Has(const std::string& name) {
    const auto key = mem.Open(std::string(vt::kProgramKey) + "\\HotFolders", false);
    const bool found = key && mem.Query(key, name, nullptr, nullptr);
    if (key) mem.Close(key);
    return found;
  }
  Bytes Stored(int n) { return vt::ReadFolderIdList(reg, n, vt::kMaxFolderIdListCapacity); }
  vt::HotFolderList Loaded(int capacity = vt::kPanelIdListCapacity) {
    vt::HotFolderList list;
    list.Load(reg, capacity);
    return list;
  }
  vt::MemoryRegistry mem;
  vt::TQRegistry reg;
};

TEST_F(HotStore, EmptyListReadsAndWritesOnlyTheCount) {
  EXPECT_EQ(Loaded().Count(), 0);
  vt::HotFolderList().Save(reg);
  EXPECT_EQ(vt::ReadFoldersCount(reg), 0);
  EXPECT_TRUE(Has("FoldersCount"));
  EXPECT_FALSE(Has("Folder0"));
  EXPECT_FALSE(Has("Folder0-lnk"));
}

TEST_F(HotStore, ReadingStopsAtTheFirstUnusableEntry) {
  reg.WriteInteger("HotFolders?FoldersCount", 3);
  Store(0, Folder(1), "7.lnk");
  Store(2, Folder(3));
  vt::HotFolderList list = Loaded();
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.At(0).idList, Folder(1));
  EXPECT_EQ(list.At(0).linkName, "7.lnk");

  // Too large for the reader, or damaged: the list ends there.
  Store(1, Folder(2, 4101));
  EXPECT_EQ(Loaded().Count(), 1);
  Store(1, Folder(2, 4100));
  EXPECT_EQ(Loaded().Count(), 3);
  EXPECT_EQ(Loaded(vt::kTrayIdListCapacity).Count(), 1);
  Bytes damaged = Folder(2);
  damaged[0] = 40;  // the item runs past the value
  Store(1, damaged);
  EXPECT_EQ(Loaded().Count(), 1);
}

TEST_F(HotStore, DeleteThenSaveMovesLaterEntriesDown) {
  reg.WriteInteger("HotFolders?FoldersCount", 3);
  Store(0, Folder(1), "1.lnk");
  Store(1, Folder(2), "2.lnk");
  Store(2, Folder(3), "3.lnk");
  vt::HotFolderList list = Loaded();
  list.Delete(1);
  list.Delete(7);  // beyond the list: nothing
  list.Save(reg);
  EXPECT_EQ(vt::ReadFoldersCount(reg), 2);
  EXPECT_EQ(Stored(0), Folder(1));
  EXPECT_EQ(Stored(1), Folder(3));
  EXPECT_EQ(vt::ReadFolderLink(reg, 1), "3.lnk");
  EXPECT_EQ(Stored(2), Folder(3));  // left over, and ignored
  EXPECT_EQ(Loaded().Count(), 2);
}

TEST_F(HotStore, InsertPositionsAndEmptyLinksAreStored) {
  vt::HotFolderList list;
  for (std::uint8_t t = 0; t < 5; ++t) list.Insert(list.Count(), Folder(t).data(), 8);
  EXPECT_EQ(list.Insert(3, Folder(9).data(), 8), 3);       // after selected entry 2
  EXPECT_EQ(list.Insert(99, Folder(10).data(), 8), 6);     // beyond: appended
  EXPECT_EQ(list.Insert(-1, Folder(11).data(), 8), 0);
  EXPECT_EQ(list.Insert(0, Folder(12).data(), 5), -1);     // cut short: refused
  ASSERT_EQ(list.Count(), 8);
  EXPECT_EQ(list.At(4).idList, Folder(9));
  list.Save(reg);
  EXPECT_TRUE(Has("Folder4-lnk"));  // written empty: no shortcut
}

TEST(HotRules, DropPositionFollowsTheCentres) {
  const std::vector<int> centres = {8, 25, 42, 59};  // entries of 17 pixels from 0
  EXPECT_EQ(vt::HotDropPosition({}, 100), 0);
  EXPECT_EQ(vt::HotDropPosition(centres, -5), 0);
  EXPECT_EQ(vt::HotDropPosition(centres, 8), 0);
  EXPECT_EQ(vt::HotDropPosition(centres, 9), 1);
  EXPECT_EQ(vt::HotDropPosition(centres, 41), 2);
  EXPECT_EQ(vt::HotDropPosition(centres, 43), 3);  // between entries 2 and 3
  EXPECT_EQ(vt::HotDropPosition(centres, 59), 4);
  EXPECT_EQ(vt::HotCentre(-3, 0), -1);  // towards zero
}

TEST(HotRules, BarsNeverLeaveAGapOrPullTheFirstEntryDown) {
  const vt::HotColumn c{16, 300};
  // Three short entries in a tall column: the down bar stops where the last sits 4 pixels
  // above it, then clamps to the up bar.
  EXPECT_EQ(vt::HotTopAfterDown(16, 51, c), 16);
  EXPECT_EQ(vt::HotTopAfterDown(16, std::nullopt, c), 16);
  EXPECT_EQ(vt::HotTopAfterUp(0, c), 16);
  EXPECT_EQ(vt::HotTopAfterUp(-120, c), -70);
  // A long list: 50 pixels a press, until the last entry is 4 pixels above the bar.
  EXPECT_EQ(vt::HotTopAfterDown(16, 1000, c), -34);
  EXPECT_EQ(vt::HotTopAfterDown(-680, 1000, c), -704);
  // The column grew below the last entry: the list follows it down, but not past the up bar.
  EXPECT_EQ(vt::HotTopAfterResize(-704, 1000, vt::HotColumn{16, 400}), -604);
  EXPECT_EQ(vt::HotTopAfterResize(-30, 100, c), 16);
  EXPECT_EQ(vt::HotTopAfterResize(-30, 1000, c), -30);
  // Into view: below the up bar, or 4 pixels above the down bar.
  EXPECT_EQ(vt::HotTopToShow(16, 0, 17, c), 16);
  EXPECT_EQ(vt::HotTopToShow(-50, 34, 51, c), -18);
  EXPECT_EQ(vt::HotTopToShow(16, 300, 317, c), -21);
}

TEST(HotRules, DragNeedsOneButtonAloneAndTenPixels) {
  EXPECT_TRUE(vt::HotDragButtons(vt::kHeldLeft));
  EXPECT_TRUE(vt::HotDragButtons(vt::kHeldRight));
  EXPECT_FALSE(vt::HotDragButtons(vt::kHeldLeft | vt::kHeldShift));
  EXPECT_FALSE(vt::HotDragButtons(vt::kHeldLeft | vt::kHeldRight));
  EXPECT_FALSE(vt::HotDragButtons(vt::kHeldRight | vt::kHeldAlt));
  EXPECT_FALSE(vt::HotDragButtons(0));
  EXPECT_FALSE(vt::HotDragFarEnough(9, 9));
  EXPECT_FALSE(vt::HotDragFarEnough(-9, 0));
  EXPECT_TRUE(vt::HotDragFarEnough(10, 0));
  EXPECT_TRUE(vt::HotDragFarEnough(0, -10));
}

TEST(HotRules, MovesAndShortcutNames) {
  // Entry 0 of 4 dropped below the last centre: in at 4, the original out at 0.
  EXPECT_EQ(vt::HotMove(4, 0).insertAt, 4);
  EXPECT_EQ(vt::HotMove(4, 0).deleteAt, 0);
  EXPECT_EQ(vt::HotMove(1, 3).deleteAt, 4);
  EXPECT_EQ(vt::HotMove(2, 2).deleteAt, 3);  // on its own place
  EXPECT_EQ(vt::HotLinkName(4000000123u), "123.lnk");
  EXPECT_EQ(vt::HotLinkName(999999999u), "999999999.lnk");
}

TEST(ShellIdArray, RoundTripAndDamagedBlocks) {
  const Bytes parent = Folder(1), child = Folder(2, 6);
  const Bytes block = vt::MakeShellIdArray(parent, {child});
  const auto lists = vt::ReadShellIdArray(block.data(), block.size());
  ASSERT_TRUE(lists);
  ASSERT_EQ(lists->size(), 2u);
  EXPECT_EQ((*lists)[0], parent);
  EXPECT_EQ((*lists)[1].size(), parent.size() - 2 + child.size());  // absolute: parent + child

  EXPECT_FALSE(vt::ReadShellIdArray(block.data(), block.size() - 1));  // cut short
  Bytes bad = block;
  bad[8] = 0xF0;  // the child's offset beyond the block
  EXPECT_FALSE(vt::ReadShellIdArray(bad.data(), bad.size()));
  bad = block;
  bad[0] = 0xFF;  // more objects than offsets
  EXPECT_FALSE(vt::ReadShellIdArray(bad.data(), bad.size()));
  EXPECT_TRUE(vt::MakeShellIdArray(parent, {Bytes{5, 0}}).empty());

  // Every offset naming the same long list: a few bytes of offsets would become megabytes.
  Bytes overlapping = vt::MakeShellIdArray(Folder(1, 1000), {child});
  const std::uint32_t many = 4000;
  Bytes header(4 + 4 * (many + 1));
  for (std::size_t i = 0; i < header.size(); i += 4) {
    const std::uint32_t v = i == 0 ? many : static_cast<std::uint32_t>(header.size());
    for (int b = 0; b < 4; ++b) header[i + b] = static_cast<std::uint8_t>(v >> (8 * b));
  }
  header.insert(header.end(), overlapping.begin() + 12, overlapping.end());
  EXPECT_FALSE(vt::ReadShellIdArray(header.data(), header.size()));
}

}  // namespace
