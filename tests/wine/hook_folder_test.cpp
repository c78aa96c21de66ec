// End to end under Wine: what an attached dialog tells its panel about its folder
// (VTM_GETFOLDER and the VTCD_FOLDER list) and how it opens an item by name (VTCD_OPENITEM).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "hook/HookFixture.h"
#include "protocol/Messages.h"

using namespace vth;

namespace {

using Bytes = std::vector<std::uint8_t>;

class FolderTest : public HookFixture {
 protected:
  virtual ClientOptions Client() const { return {}; }
  void SetUp() override {
    HookFixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(Start(Client())) << why_;
    // The view fills in after the dialog shows.
    ASSERT_TRUE(vtt::WaitFor([&] { return ItemTexts().size() >= 4; }, 10000)) << "the folder's items never appeared";
  }

  // The one list reported by VTM_GETFOLDER, checked for its own consistency.
  Bytes ReportedList(LRESULT expected) {
    std::vector<Bytes> lists;
    LRESULT r = GetFolder(&lists);
    EXPECT_EQ(r, expected);
    EXPECT_EQ(lists.size(), 1u) << "one VTCD_FOLDER per request";
    if (lists.size() != 1) return {};
    auto folders = PanelRecords(vt::VTCD_FOLDER);
    const CopyRecord& last = folders.back();
    EXPECT_EQ(last.from, dialog_);
    EXPECT_EQ(last.to, panel_);
    EXPECT_EQ(ExactListSize(last.bytes), last.cbData) << "cbData is the size of exactly one well-formed list";
    return lists.front();
  }

  std::string Select(std::initializer_list<const char*> prefixes, int expected) {
    std::string payload, first;
    for (const char* p : prefixes) {
      std::string t = ItemStarting(p);
      if (first.empty()) first = t;
      payload += t;
      payload.push_back('\0');
    }
    EXPECT_EQ(client_->Command(kCmdSelect, payload.data(), static_cast<std::uint32_t>(payload.size())), expected);
    return first;
  }
};

// Without OFN_ALLOWMULTISELECT the dialog's file list keeps at most one item selected.
class MultiSelectFolderTest : public FolderTest {
 protected:
  ClientOptions Client() const override {
    ClientOptions o;
    o.multiSelect = true;
    return o;
  }
};

TEST_F(MultiSelectFolderTest, FolderAloneIsReportedUnlessExactlyOneItemIsSelected) {
  Bytes folder = ReportedList(1);
  EXPECT_TRUE(SamePath(PathOfList(folder), folder_->NoSlash())) << PathOfList(folder);
  LRESULT n = client_->Command(kCmdFolderIdList);
  EXPECT_EQ(client_->Data(), folder) << "the same list the dialog gives for CDM_GETFOLDERIDLIST (" << n << " bytes)";

  Select({"alpha", "beta"}, 2);
  EXPECT_EQ(ReportedList(1), folder) << "two selected items: the folder alone";
  Select({"beta"}, 1);
  EXPECT_EQ(ListItemCount(ReportedList(2)), ListItemCount(folder) + 1);
  Select({}, 0);
  EXPECT_EQ(ReportedList(1), folder) << "nothing selected: the folder alone";
}

TEST_F(FolderTest, OneSelectedItemIsReportedAsFolderPlusItem) {
  Bytes folder = ReportedList(1);
  ASSERT_FALSE(folder.empty());
  std::string item = Select({"alpha"}, 1);
  Bytes both = ReportedList(2);
  ASSERT_GT(both.size(), folder.size());
  EXPECT_TRUE(std::equal(folder.begin(), folder.end() - 2, both.begin())) << "begins with the folder's items";
  EXPECT_EQ(ListItemCount(both), ListItemCount(folder) + 1);
  Bytes tail(both.begin() + static_cast<long>(folder.size()) - 2, both.end());
  EXPECT_EQ(ListItemCount(tail), 1) << "size = folder size - 2 + item size";
  EXPECT_TRUE(SamePath(PathOfList(both), folder_->Path() + "alpha.txt")) << PathOfList(both);
  EXPECT_FALSE(item.empty());
}

TEST_F(FolderTest, DroppedDownFolderBoxAnswersMinusOneAndSendsNothing) {
  HWND combo = FolderCombo(dialog_);
  ASSERT_NE(combo, nullptr);
  ASSERT_TRUE(SendBounded(combo, CB_SHOWDROPDOWN, TRUE, 0));
  LRESULT dropped = 0;
  ASSERT_TRUE(SendBounded(combo, CB_GETDROPPEDSTATE, 0, 0, &dropped));
  ASSERT_NE(dropped, 0);
  std::vector<Bytes> lists;
  EXPECT_EQ(GetFolder(&lists), -1);
  EXPECT_TRUE(lists.empty());
  SendBounded(combo, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(GetFolder(&lists), 1);
  EXPECT_EQ(lists.size(), 1u);
}

// The folder box's record is the dialog's own memory, read from inside its process: a record
// or list that runs into unreadable memory must give a defined answer, never end the host.
TEST_F(FolderTest, DamagedFolderRecordsLeaveTheHostAlive) {
  std::size_t before = ctl_->Records().size();
  ASSERT_EQ(client_->Command(kCmdDamagedFolder), kDamagedFolderCases);
  ASSERT_TRUE(client_->Answers()) << "the host died on a damaged folder record";
  auto results = client_->Data();
  ASSERT_EQ(results.size(), kDamagedFolderCases * 4u);
  for (int i = 0; i < kDamagedFolderCases; ++i) {
    std::int32_t v;
    std::memcpy(&v, results.data() + 4 * i, 4);
    // 0: nothing readable; 1: the folder found some other way (the dialog also tells it).
    EXPECT_TRUE(v == 0 || v == 1) << "case " << i << " answered " << v;
  }
  const auto& all = ctl_->Records();
  for (std::size_t i = before; i < all.size(); ++i) {
    if (all[i].kind != vt::VTCD_FOLDER) continue;
    EXPECT_EQ(ExactListSize(all[i].bytes), all[i].cbData) << "only whole lists are sent";
    EXPECT_TRUE(SamePath(PathOfList(all[i].bytes), folder_->NoSlash())) << PathOfList(all[i].bytes);
  }
  EXPECT_FALSE(ReportedList(1).empty()) << "the dialog's own record works again";
}

TEST_F(FolderTest, OpenItemEntersOnlyAnExactlyMatchingItem) {
  auto texts = ItemTexts();
  ASSERT_NE(std::find(texts.begin(), texts.end(), "Sub One"), texts.end()) << "the folder item shows its name";
  HWND viewBefore = FolderView(dialog_);
  auto open = [&](const std::string& text) {
    LRESULT r = 0;
    EXPECT_TRUE(SendCopy(dialog_, panel_, vt::VTCD_OPENITEM, text.c_str(), static_cast<std::uint32_t>(text.size() + 1), &r));
    return r;
  };

  EXPECT_EQ(open("sub one"), -1);
  EXPECT_EQ(open("SUB ONE"), -1);
  EXPECT_EQ(open("No Such Item"), -1);
  EXPECT_EQ(open(""), -1);
  vtt::Pump(800);
  EXPECT_EQ(FolderView(dialog_), viewBefore) << "a name that differs in case opens nothing";
  EXPECT_TRUE(SamePath(PathOfList(ReportedList(1)), folder_->NoSlash()));

  // The panel brings its dialog to the front before it asks (as after a click on it).
  SetForegroundWindow(dialog_);
  vtt::Pump(200);
  EXPECT_EQ(open("Sub One"), -1) << "answered -1 also when the item is opened";
  ASSERT_TRUE(vtt::WaitFor([&] { HWND v = FolderView(dialog_); return v && v != viewBefore; }, 5000))
      << "the dialog did not change folder";
  vtt::Pump(300);
  EXPECT_TRUE(SamePath(PathOfList(ReportedList(1)), folder_->Path() + "Sub One"));
  EXPECT_FALSE(GetAsyncKeyState(VK_RETURN) & 0x8000) << "the injected Enter key is left held down";
}

}  // namespace
