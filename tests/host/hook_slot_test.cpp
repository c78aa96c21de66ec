// The slot decisions of the subclass procedures: which slot serves a window, the stacking
// filter, and the size limits handed to the dialog.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "hooklib/SlotRules.h"

namespace {

class HookSlot : public ::testing::Test {
 protected:
  void SetUp() override {
    block = std::make_unique<vt::SharedBlock>();
    std::memset(block.get(), 0, sizeof *block);
  }
  vt::DialogSlot& Use(int n, std::uint32_t panel, std::uint32_t dialog) {
    block->Slots[n].PanelWindow = panel;
    block->Slots[n].DialogWindow = dialog;
    return block->Slots[n];
  }
  std::unique_ptr<vt::SharedBlock> block;
};

TEST_F(HookSlot, ADialogIsServedByTheLowestSlotInUseThatNamesIt) {
  EXPECT_EQ(vt::FindDialogSlot(*block, 0x100), -1);
  Use(7, 0x900, 0x100);
  Use(3, 0x300, 0x100);
  EXPECT_EQ(vt::FindDialogSlot(*block, 0x100), 3);
  // A released slot (PanelWindow 0) no longer names its dialog, whatever DialogWindow says.
  Use(3, 0, 0x100);
  EXPECT_EQ(vt::FindDialogSlot(*block, 0x100), 7);
  Use(7, 0, 0x100);
  EXPECT_EQ(vt::FindDialogSlot(*block, 0x100), -1);
  // Free slots are zero: a null window never matches them.
  Use(0, 0x500, 0);
  EXPECT_EQ(vt::FindDialogSlot(*block, 0), -1);
}

TEST_F(HookSlot, AFileNameBoxFindsItsDialogDirectlyOrThroughItsComboBoxes) {
  Use(2, 0x222, 0x100);
  EXPECT_EQ(vt::FindEditSlot(*block, 0x100, 0), 2) << "box directly in the dialog";
  EXPECT_EQ(vt::FindEditSlot(*block, 0x150, 0x100), 2) << "box in ComboBox in ComboBoxEx32";
  EXPECT_EQ(vt::FindEditSlot(*block, 0x150, 0x160), -1);
  Use(1, 0x111, 0);
  EXPECT_EQ(vt::FindEditSlot(*block, 0x150, 0), -1) << "a slot without dialog names no box";
}

TEST_F(HookSlot, ReadSlotCopiesTheFieldsAndRefusesBadIndices) {
  vt::DialogSlot& s = Use(9, 0x999, 0x123);
  s.MaxWidth = 0xFFFF;
  s.CatchFileNameText = 1;
  s.State = vt::kSlotActive;
  vt::DialogSlot copy = vt::ReadSlot(*block, 9);
  EXPECT_EQ(copy.PanelWindow, 0x999u);
  EXPECT_EQ(copy.DialogWindow, 0x123u);
  EXPECT_EQ(copy.MaxWidth, 0xFFFF);
  EXPECT_EQ(copy.CatchFileNameText, 1);
  EXPECT_EQ(vt::ReadSlot(*block, 10).PanelWindow, 0u);
  EXPECT_EQ(vt::ReadSlot(*block, -1).PanelWindow, 0u);
}

TEST(HookZOrder, OnlyAStackingChangeIsPure) {
  using namespace vt;
  using namespace vt::hook;
  EXPECT_TRUE(IsPureZOrderChange(kSwpNoMove | kSwpNoSize));
  EXPECT_FALSE(IsPureZOrderChange(kSwpNoMove | kSwpNoSize | kSwpNoZOrder)) << "nothing changes at all";
  EXPECT_FALSE(IsPureZOrderChange(kSwpNoMove | kSwpNoSize | kSwpShowWindow));
  EXPECT_FALSE(IsPureZOrderChange(kSwpNoMove | kSwpNoSize | kSwpHideWindow));
  EXPECT_FALSE(IsPureZOrderChange(kSwpNoSize)) << "a move";
  EXPECT_FALSE(IsPureZOrderChange(kSwpNoMove)) << "a resize";
}

vt::hook::SizeLimits Answered() { return {{1000, 800}, {1100, 900}, {100, 50}}; }

TEST(HookSizeLimits, AnActivePanelSetsMaximumAndMinimum) {
  vt::DialogSlot s{};
  s.State = vt::kSlotActive;
  s.MaxWidth = 40000;  // above 32767: read unsigned
  s.MaxHeight = 700;
  s.MinWidth = 300;
  s.MinHeight = 200;
  vt::hook::SizeLimits l = Answered();
  ASSERT_TRUE(vt::hook::ApplySizeLimits(s, false, &l));
  EXPECT_EQ(l.maxSize.x, 40000);
  EXPECT_EQ(l.maxTrackSize.y, 700);
  EXPECT_EQ(l.minTrackSize.x, 300);
  EXPECT_EQ(l.minTrackSize.y, 200);
  l = Answered();
  ASSERT_TRUE(vt::hook::ApplySizeLimits(s, true, &l));
  EXPECT_EQ(l.minTrackSize.x, 40000) << "a maximised panel pins the dialog at its maximum";
  EXPECT_EQ(l.minTrackSize.y, 700);
}

TEST(HookSizeLimits, TheMinimumNeedsBothValuesAndNothingAppliesOutsideActiveState) {
  vt::DialogSlot s{};
  s.State = vt::kSlotActive;
  s.MaxWidth = 900;
  s.MaxHeight = 700;
  s.MinWidth = 300;  // MinHeight 0: while the panel reads the placement
  vt::hook::SizeLimits l = Answered();
  ASSERT_TRUE(vt::hook::ApplySizeLimits(s, false, &l));
  EXPECT_EQ(l.minTrackSize.x, 100);
  EXPECT_EQ(l.minTrackSize.y, 50);
  for (std::uint8_t state : {vt::kSlotCreating, vt::kSlotClosing}) {
    s.State = state;
    l = Answered();
    EXPECT_FALSE(vt::hook::ApplySizeLimits(s, false, &l));
    EXPECT_EQ(l.maxSize.x, 1000);
  }
  EXPECT_FALSE(vt::hook::ApplySizeLimits(s, false, nullptr));
}

TEST(HookSizeLimits, AnUnmeasuredMaximumDoesNotCollapseTheDialog) {
  vt::DialogSlot s{};
  s.State = vt::kSlotActive;
  s.MaxWidth = 900;  // MaxHeight still 0
  vt::hook::SizeLimits l = Answered();
  EXPECT_FALSE(vt::hook::ApplySizeLimits(s, false, &l));
  EXPECT_EQ(l.maxSize.x, 1000);
  EXPECT_EQ(l.maxTrackSize.y, 900);
}

}  // namespace
