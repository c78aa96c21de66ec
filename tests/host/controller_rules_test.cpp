// The resident program's window-free rules: autorun at start-up, payload texts from other
// processes, the running-program list, the slots and the exit rule, stray shortcut names.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "controller/AutoRun.h"
#include "protocol/CopyData.h"
#include "protocol/Slots.h"
#include "settings/Product.h"
#include "controller/ProgramList.h"
#include "panel/LinkNames.h"
#include "settings/Catalogue.h"
#include "settings/MemoryRegistry.h"

namespace {

class FakeRun : public vt::RunEntry {
 public:
  void Set(const std::string& command) override { value = command; }
  void Remove() override { value.reset(); }
  std::optional<std::string> value;
};

class AutoRunAtStart : public ::testing::Test {
 protected:
  AutoRunAtStart() : reg(mem) { reg.SetBaseKey(vt::kProgramKey); }
  std::optional<std::int32_t> Stored() {
    std::int32_t v = 0;
    return reg.ReadInteger("?AutoRun", v) ? std::optional<std::int32_t>(v) : std::nullopt;
  }
  vt::MemoryRegistry mem;
  vt::TQRegistry reg;
  FakeRun run;
  const std::string folder = "C:\\Program Files\\Vantrel\\";
};

TEST_F(AutoRunAtStart, AbsentValueMeansOnAndIsWrittenAsOne) {
  EXPECT_TRUE(vt::ApplyAutoRunAtStart(reg, run, folder));
  EXPECT_EQ(Stored(), 1);
  EXPECT_EQ(run.value, "\"C:\\Program Files\\Vantrel\\Kestrum.exe\"") << "quoted: the folder has a blank";
}

TEST_F(AutoRunAtStart, OnlyExactlyOneIsOnAndTheValueIsRewritten) {
  const std::pair<std::int32_t, bool> cases[] = {{1, true}, {0, false}, {2, false}, {-1, false}, {INT32_MIN, false}};
  for (auto [stored, on] : cases) {
    SCOPED_TRACE(stored);
    reg.WriteInteger("?AutoRun", stored);
    run.value = "stale";
    EXPECT_EQ(vt::ApplyAutoRunAtStart(reg, run, folder), on);
    EXPECT_EQ(Stored(), on ? 1 : 0);
    EXPECT_EQ(run.value.has_value(), on);
  }
}

TEST_F(AutoRunAtStart, AValueOfTheWrongTypeCountsAsAbsent) {
  reg.WriteString("?AutoRun", "0");
  EXPECT_TRUE(vt::ApplyAutoRunAtStart(reg, run, folder));
  EXPECT_EQ(Stored(), 1);
}

TEST(ProductNames, VersionCaptionAndMutexBytes) {
  EXPECT_EQ(vt::VersionText(), "1.01");
  EXPECT_EQ(vt::ProductCaption(), "Vantrel v1.01");
  // "Vantrel (" then 0xA9 (the copyright sign in Windows-1252) then "Brisvane Ltd.)".
  const std::string mutex = vt::kMutexName;
  ASSERT_EQ(mutex.size(), 24u);
  EXPECT_EQ(static_cast<unsigned char>(mutex[9]), 0xA9);
  EXPECT_EQ(mutex.substr(0, 9), "Vantrel (");
  EXPECT_EQ(mutex.substr(10), "Brisvane Ltd.)");
}

TEST(CopyDataPayload, OnlyATextTerminatedInsideThePayloadIsTaken) {
  EXPECT_EQ(vt::CopyDataText("NOTEPAD.EXE", 12), "NOTEPAD.EXE");
  EXPECT_EQ(vt::CopyDataText("", 1), "") << "empty, but a text";
  EXPECT_EQ(vt::CopyDataText("AB\0CD", 6), "AB") << "stops at the first NUL";
  const char unterminated[4] = {'A', 'B', 'C', 'D'};
  EXPECT_FALSE(vt::CopyDataText(unterminated, 4));
  EXPECT_FALSE(vt::CopyDataText("ABCD", 2)) << "the NUL lies past cbData";
  EXPECT_FALSE(vt::CopyDataText(nullptr, 10));
  EXPECT_FALSE(vt::CopyDataText("x", 0));
  std::vector<char> big(vt::kMaxCopyDataText + 1, 'a');
  big.back() = 0;
  EXPECT_FALSE(vt::CopyDataText(big.data(), static_cast<std::uint32_t>(big.size())));
  big.resize(vt::kMaxCopyDataText);
  big.back() = 0;
  EXPECT_TRUE(vt::CopyDataText(big.data(), static_cast<std::uint32_t>(big.size())));
}

TEST(RunningProgramList, SortedWithoutDuplicatesRegardlessOfCase) {
  vt::ProgramList list;
  const std::string own = "C:\\Vantrel\\Kestrum.exe";
  EXPECT_TRUE(list.AddReported("C:\\Windows\\notepad.exe", own));
  EXPECT_FALSE(list.AddReported("C:\\WINDOWS\\NOTEPAD.EXE", own)) << "same path in other case";
  EXPECT_FALSE(list.AddReported("C:\\Windows\\notepad.exe", own)) << "same path twice";
  EXPECT_TRUE(list.AddReported("C:\\apps\\Word.exe", own));
  EXPECT_FALSE(list.AddReported(own, own)) << "the controller itself";
  EXPECT_TRUE(list.AddReported("c:\\vantrel\\kestrum.exe", own)) << "only the exact own path is left out";
  EXPECT_FALSE(list.AddReported("", own));
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"C:\\apps\\Word.exe", "c:\\vantrel\\kestrum.exe",
                                                     "C:\\Windows\\notepad.exe"}));
  list.Clear();
  EXPECT_EQ(list.Count(), 0u);
}

TEST(RunningProgramList, StopsGrowingAtItsBound) {
  vt::ProgramList list;
  for (std::size_t i = 0; i < vt::ProgramList::kMaxPrograms + 5; ++i) list.Add("P" + std::to_string(i));
  EXPECT_EQ(list.Count(), vt::ProgramList::kMaxPrograms);
}

class Slots : public ::testing::Test {
 protected:
  Slots() : block(std::make_unique<vt::SharedBlock>()) { std::memset(block.get(), 0, sizeof(vt::SharedBlock)); }
  std::unique_ptr<vt::SharedBlock> block;
};

TEST_F(Slots, TheLowestFreeSlotIsTakenAndClaimClearsAllButTheLastWord) {
  EXPECT_EQ(vt::FirstFreeSlot(*block), 0);
  block->Slots[0].PanelWindow = 0x100;
  block->Slots[2].PanelWindow = 0x200;
  EXPECT_EQ(vt::FirstFreeSlot(*block), 1);
  EXPECT_EQ(vt::FirstFreeSlot(*block, 0b10), 3) << "slot 1 claimed without a panel window yet";
  for (auto& s : block->Slots) s.PanelWindow = 0x300;
  EXPECT_EQ(vt::FirstFreeSlot(*block), -1);

  vt::DialogSlot& s = block->Slots[4];
  std::memset(&s, 0xAB, sizeof s);
  vt::ClaimSlot(*block, 4, 0x1234);
  EXPECT_EQ(s.PanelObject, 0u);
  EXPECT_EQ(s.PanelWindow, 0u);
  EXPECT_EQ(s.DialogWindow, 0x1234u);
  EXPECT_EQ(s.State, 0);
  EXPECT_EQ(s.CatchFileNameText, 0);
  EXPECT_EQ(s.Reserved[12], 0);
  EXPECT_EQ(s.Reserved2, 0xABABABABu) << "never written after start-up";
  EXPECT_EQ(block->Slots[5].PanelWindow, 0x300u) << "neighbours untouched";
  vt::ClaimSlot(*block, 10, 1);
  vt::ClaimSlot(*block, -1, 1);  // outside the ten: nothing happens
}

// The hook library's test of Kestrum's heartbeat, across the tick count's wrap after 49 days.
TEST(ControllerStamp, AStampOlderThanFiveSecondsIsStaleAndNoneYetIsFresh) {
  EXPECT_TRUE(vt::ControllerStampFresh(0, 123456));
  EXPECT_TRUE(vt::ControllerStampFresh(1000, 6000));
  EXPECT_FALSE(vt::ControllerStampFresh(1000, 6001));
  EXPECT_TRUE(vt::ControllerStampFresh(0xFFFFFF00u, 0x1200u));
  EXPECT_FALSE(vt::ControllerStampFresh(0xFFFFFF00u, 0x1400u));
}

bool OnlyEvenAlive(std::uint32_t w) { return w % 2 == 0; }

TEST_F(Slots, ExitIsBlockedOnlyByALivePanelWindow) {
  EXPECT_FALSE(vt::AnyPanelOpen(*block, nullptr));
  block->Slots[0].DialogWindow = 0x10;  // a dialog without a panel holds nothing
  block->Slots[0].State = vt::kSlotClosing;
  EXPECT_FALSE(vt::AnyPanelOpen(*block, OnlyEvenAlive));
  block->Slots[9].PanelWindow = 0x11;   // dead handle
  EXPECT_TRUE(vt::AnyPanelOpen(*block, nullptr));
  EXPECT_FALSE(vt::AnyPanelOpen(*block, OnlyEvenAlive));
  block->Slots[3].PanelWindow = 0x12;
  EXPECT_TRUE(vt::AnyPanelOpen(*block, OnlyEvenAlive));
}

TEST(StrayShortcuts, NamesNoEntryKeepsAreStrayWithoutRegardToCase) {
  const std::vector<std::string> keep = {"111.LNK", "", "333.lnk"};
  const std::vector<std::string> found = {".", "..", "111.lnk", "222.lnk", "333.LNK", "sub", "notes.txt"};
  EXPECT_EQ(vt::StrayLinkFiles(keep, found), (std::vector<std::string>{"222.lnk", "sub", "notes.txt"}));
  EXPECT_EQ(vt::StrayLinkFiles({}, {"a.lnk"}), std::vector<std::string>{"a.lnk"});
  EXPECT_TRUE(vt::StrayLinkFiles({"a.lnk"}, {}).empty());
}

}  // namespace
