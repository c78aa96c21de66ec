// What a hook instance accepts from outside: WM_COPYDATA texts and identifier lists whose
// extent only their sender knows. Buffers are exact-size heap blocks so that ASan reports
// any read past them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "util/IdList.h"
#include "protocol/CopyData.h"
#include "protocol/Messages.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// An item of `cb` bytes (count included) filled with `fill`.
void PutItem(Bytes& b, std::uint16_t cb, std::uint8_t fill) {
  b.push_back(static_cast<std::uint8_t>(cb & 0xFF));
  b.push_back(static_cast<std::uint8_t>(cb >> 8));
  for (int i = 2; i < cb; ++i) b.push_back(fill);
}
Bytes List(std::initializer_list<std::uint16_t> counts) {
  Bytes b;
  std::uint8_t fill = 1;
  for (auto cb : counts) PutItem(b, cb, fill++);
  b.push_back(0);
  b.push_back(0);
  return b;
}
// A heap copy of exactly the bytes, so ASan sees every overrun.
std::unique_ptr<std::uint8_t[]> Exact(const Bytes& b) {
  auto p = std::make_unique<std::uint8_t[]>(b.size());
  if (!b.empty()) std::memcpy(p.get(), b.data(), b.size());
  return p;
}

TEST(HookPayload, WellFormedListsHaveTheirSize) {
  Bytes empty = List({});
  auto e = Exact(empty);
  EXPECT_EQ(vt::ItemListSizeIn(e.get(), empty.size()), 2u);
  Bytes three = List({20, 2, 300});
  auto t = Exact(three);
  EXPECT_EQ(vt::ItemListSizeIn(t.get(), three.size()), 2u + 20 + 2 + 300);
  // Room behind the list does not change its size.
  Bytes roomy = three;
  roomy.resize(three.size() + 64, 0xAB);
  auto r = Exact(roomy);
  EXPECT_EQ(vt::ItemListSizeIn(r.get(), roomy.size()), three.size());
}

TEST(HookPayload, DamagedListsHaveSizeZero) {
  EXPECT_EQ(vt::ItemListSizeIn(nullptr, 100), 0u);
  Bytes ok = List({20, 30});
  for (std::size_t cut = 0; cut < ok.size(); ++cut) {
    auto p = Exact(Bytes(ok.begin(), ok.begin() + cut));
    EXPECT_EQ(vt::ItemListSizeIn(p.get(), cut), 0u) << "list cut to " << cut << " bytes";
  }
  Bytes countOne = {1, 0, 0, 0};
  auto c1 = Exact(countOne);
  EXPECT_EQ(vt::ItemListSizeIn(c1.get(), countOne.size()), 0u) << "an item count of 1";
  Bytes runsPast = {0xFF, 0x7F, 0, 0};
  auto rp = Exact(runsPast);
  EXPECT_EQ(vt::ItemListSizeIn(rp.get(), runsPast.size()), 0u) << "count runs past the buffer";
}

TEST(HookPayload, ListsBeyondTheLimitAreRefusedWithoutWalkingFurther) {
  Bytes big;
  for (int i = 0; i < 40; ++i) PutItem(big, 1000, 7);  // 40 000 bytes, over the 32 KiB limit
  big.push_back(0);
  big.push_back(0);
  auto p = Exact(big);
  EXPECT_EQ(vt::ItemListSizeIn(p.get(), big.size()), 0u);
  Bytes justUnder;
  PutItem(justUnder, 0x7FFC, 9);
  justUnder.push_back(0);
  justUnder.push_back(0);
  auto q = Exact(justUnder);
  EXPECT_EQ(vt::ItemListSizeIn(q.get(), justUnder.size()), vt::kMaxItemListSize - 2);
}

// A probe that only lets `readable` bytes be read and records the furthest byte asked for.
class CountingProbe final : public vt::ReadProbe {
 public:
  CountingProbe(const void* base, std::size_t readable) : base_(static_cast<const std::uint8_t*>(base)), n_(readable) {}
  bool Readable(const void* p, std::size_t n) const override {
    std::size_t off = static_cast<const std::uint8_t*>(p) - base_;
    if (off + n > furthest) furthest = off + n;
    return off + n <= n_;
  }
  mutable std::size_t furthest = 0;

 private:
  const std::uint8_t* base_;
  std::size_t n_;
};

TEST(HookPayload, ProbedListsAreCheckedItemByItemBeforeTheyAreRead) {
  Bytes list = List({10, 10, 10});
  CountingProbe whole(list.data(), list.size());
  EXPECT_EQ(vt::ItemListSizeProbed(list.data(), whole), list.size());
  EXPECT_EQ(whole.furthest, list.size());
  // The second item's tail lies on an unreadable page: no size, and nothing beyond asked.
  CountingProbe partial(list.data(), 15);
  EXPECT_EQ(vt::ItemListSizeProbed(list.data(), partial), 0u);
  EXPECT_LE(partial.furthest, 20u);
}

TEST(HookPayload, ConcatenationFitsItsBufferOrWritesNothing) {
  Bytes folder = List({10, 12});
  Bytes item = List({8});
  std::size_t need = folder.size() - 2 + item.size();
  Bytes out(need, 0xEE);
  ASSERT_EQ(vt::JoinItemListsInto(out.data(), out.size(), folder.data(), folder.size(), item.data(), item.size()),
            need);
  EXPECT_EQ(vt::ItemListSizeIn(out.data(), out.size()), need);
  EXPECT_TRUE(std::equal(folder.begin(), folder.end() - 2, out.begin()));
  EXPECT_TRUE(std::equal(item.begin(), item.end(), out.begin() + folder.size() - 2));

  Bytes small(need - 1, 0xEE);
  EXPECT_EQ(vt::JoinItemListsInto(small.data(), small.size(), folder.data(), folder.size(), item.data(), item.size()), 0u);
  EXPECT_EQ(small, Bytes(need - 1, 0xEE)) << "nothing written when it does not fit";
  EXPECT_EQ(vt::JoinItemListsInto(out.data(), out.size(), folder.data(), 1, item.data(), item.size()), 0u);
  EXPECT_EQ(vt::JoinItemListsInto(out.data(), out.size(), nullptr, 2, item.data(), item.size()), 0u);

  // The desktop (empty list) as folder gives the item alone.
  Bytes desktop = List({});
  Bytes alone(item.size());
  EXPECT_EQ(vt::JoinItemListsInto(alone.data(), alone.size(), desktop.data(), 2, item.data(), item.size()), item.size());
  EXPECT_EQ(alone, item);
}

// The panel's gate refuses lists above the limit; a longer join must not be made, so that the
// folder is reported alone instead of not at all.
TEST(HookPayload, JoinsLargerThanTheLimitAreNotMade) {
  Bytes folder = List({0x6000});
  Bytes item = List({0x3000});
  Bytes out(folder.size() - 2 + item.size(), 0xEE);
  EXPECT_EQ(vt::JoinItemListsInto(out.data(), out.size(), folder.data(), folder.size(), item.data(), item.size()), 0u);
  EXPECT_EQ(out[0], 0xEE);
}

// Sizes no checked list has are refused before anything is read, even where their sum wraps.
TEST(HookPayload, ImpossibleSizesAreRefusedBeforeAnyRead) {
  auto folder = Exact(List({}));
  auto item = Exact(List({}));
  Bytes out(16, 0xEE);
  EXPECT_EQ(vt::JoinItemListsInto(out.data(), out.size(), folder.get(), SIZE_MAX, item.get(), 3), 0u);
  EXPECT_EQ(vt::JoinItemListsInto(out.data(), SIZE_MAX, folder.get(), 2, item.get(), vt::kMaxItemListSize + 1), 0u);
  EXPECT_EQ(out, Bytes(16, 0xEE));
}

TEST(HookPayload, TextsEndAtTheirNulInsideThePayload) {
  std::string_view text;
  const char hello[] = "hello";
  ASSERT_TRUE(vt::PayloadText(hello, sizeof hello, &text));
  EXPECT_EQ(text, "hello");
  // cbData larger than the text: the first NUL ends it.
  const char two[] = "ab\0cd";
  ASSERT_TRUE(vt::PayloadText(two, sizeof two, &text));
  EXPECT_EQ(text, "ab");
  const char empty[] = "";
  ASSERT_TRUE(vt::PayloadText(empty, 1, &text));
  EXPECT_EQ(text, "");
}

TEST(HookPayload, MalformedTextPayloadsAreRefused) {
  std::string_view text = "unchanged";
  auto noNul = std::make_unique<char[]>(4);
  std::memcpy(noNul.get(), "abcd", 4);
  EXPECT_FALSE(vt::PayloadText(noNul.get(), 4, &text)) << "no NUL within cbData";
  EXPECT_FALSE(vt::PayloadText(nullptr, 100, &text)) << "a size but no data";
  EXPECT_FALSE(vt::PayloadText(noNul.get(), 0, &text)) << "size 0";
  EXPECT_FALSE(vt::PayloadText("abc", 3, &text)) << "cbData stops before the NUL";
  EXPECT_EQ(text, "unchanged");
}

}  // namespace

namespace {

using vt::CopyReceiver;
using vt::IsValidCopyData;

TEST(HookCopyData, EachKindHasItsExactShape) {
  const char name[] = "NOTEPAD.EXE";
  EXPECT_TRUE(IsValidCopyData(CopyReceiver::Controller, vt::VTCD_ATTACH, name, sizeof name));
  EXPECT_TRUE(IsValidCopyData(CopyReceiver::Controller, vt::VTCD_PROGRAM, name, sizeof name));
  EXPECT_TRUE(IsValidCopyData(CopyReceiver::Dialog, vt::VTCD_OPENITEM, name, sizeof name));
  EXPECT_TRUE(IsValidCopyData(CopyReceiver::Panel, vt::VTCD_SETTEXT, "", 1)) << "the empty text is a text";

  std::uint8_t pos[vt::kWindowPosSize] = {};
  vt::NotifyRecord record{};
  EXPECT_TRUE(IsValidCopyData(CopyReceiver::Panel, vt::VTCD_POSCHANGING, pos, sizeof pos));
  for (std::uint32_t kind : {vt::VTCD_SHOW, vt::VTCD_DESTROY, vt::VTCD_CLOSE, vt::VTCD_NCACTIVATE})
    EXPECT_TRUE(IsValidCopyData(CopyReceiver::Panel, kind, &record, sizeof record)) << kind;

  Bytes folder = List({10, 12});
  auto f = Exact(folder);
  EXPECT_TRUE(IsValidCopyData(CopyReceiver::Panel, vt::VTCD_FOLDER, f.get(), static_cast<std::uint32_t>(folder.size())));
}

TEST(HookCopyData, MalformedRecordsAreRefused) {
  const char name[] = "NOTEPAD.EXE";
  // Wrong cbData around a text: short of the NUL, past it, or the empty name to the controller.
  EXPECT_FALSE(IsValidCopyData(CopyReceiver::Controller, vt::VTCD_ATTACH, name, sizeof name - 1));
  EXPECT_FALSE(IsValidCopyData(CopyReceiver::Dialog, vt::VTCD_OPENITEM, "ab\0cd", 6));
  EXPECT_FALSE(IsValidCopyData(CopyReceiver::Controller, vt::VTCD_ATTACH, "", 1));
  EXPECT_FALSE(IsValidCopyData(CopyReceiver::Controller, vt::VTCD_ATTACH, nullptr, 12));
  EXPECT_FALSE(IsValidCopyData(CopyReceiver::Dialog, vt::VTCD_OPENITEM, name, 0));

  std::uint8_t pos[vt::kWindowPosSize + 1] = {};
  EXPECT_FALSE(IsValidCopyData(CopyReceiver::Panel, vt::VTCD_POSCHANGING, pos, vt::kWindowPosSize - 1));
  EXPECT_FALSE(IsValidCopyData(CopyReceiver::Panel, vt::VTCD_POSCHANGING, pos, vt::kWindowPosSize + 1));
  EXPECT_FALSE(IsValidCopyData(CopyReceiver::Panel, vt::VTCD_SHOW, pos, 15));

  // A folder list whose counts run past cbData, one with bytes behind its end, one cut short.
  Bytes runsPast = {30, 0, 1, 2, 0, 0};
  auto rp = Exact(runsPast);
  EXPECT_FALSE(IsValidCopyData(CopyReceiver::Panel, vt::VTCD_FOLDER, rp.get(), 6));
  Bytes trailing = List({6});
  trailing.push_back(0x55);
  auto tr = Exact(trailing);
  EXPECT_FALSE(IsValidCopyData(CopyReceiver::Panel, vt::VTCD_FOLDER, tr.get(), static_cast<std::uint32_t>(trailing.size())));
  Bytes folder = List({10});
  auto f = Exact(folder);
  EXPECT_FALSE(IsValidCopyData(CopyReceiver::Panel, vt::VTCD_FOLDER, f.get(), static_cast<std::uint32_t>(folder.size() - 1)));

  // Kinds a receiver does not take: 0x46 is a panel's kind, 1 means attach only to the controller.
  EXPECT_FALSE(IsValidCopyData(CopyReceiver::Dialog, vt::VTCD_POSCHANGING, pos, vt::kWindowPosSize));
  EXPECT_FALSE(IsValidCopyData(CopyReceiver::Controller, 3, name, sizeof name));
  EXPECT_FALSE(IsValidCopyData(CopyReceiver::Panel, 0x99, name, sizeof name));
}

TEST(CopyDataDecoders, EachReceiverGetsTypedRecordsOrNothing) {
  vt::WindowPos32 pos{0x10, 0, -5, 7, 300, 200, 0x40};
  const auto decoded = vt::DecodeWindowPos({vt::VTCD_POSCHANGING, &pos, sizeof pos});
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->X, -5);
  EXPECT_EQ(decoded->Cy, 200);
  EXPECT_EQ(decoded->Flags, 0x40u);
  EXPECT_FALSE(vt::DecodeWindowPos({vt::VTCD_SHOW, &pos, sizeof pos})) << "a decoder takes its own kind only";

  vt::NotifyRecord record{0x18, 1, 0, 0};
  EXPECT_EQ(vt::DecodeNotify({vt::VTCD_SHOW, &record, sizeof record})->WParam, 1u);
  EXPECT_FALSE(vt::DecodeNotify({vt::VTCD_POSCHANGING, &record, sizeof record}));

  const char name[] = "NOTEPAD.EXE";
  EXPECT_EQ(vt::DecodeProgramName({vt::VTCD_ATTACH, name, sizeof name}), "NOTEPAD.EXE");
  EXPECT_FALSE(vt::DecodeProgramPath({vt::VTCD_ATTACH, name, sizeof name}));
  EXPECT_EQ(vt::DecodeOpenItem({vt::VTCD_OPENITEM, name, sizeof name}), "NOTEPAD.EXE");

  // The file-name box may carry up to 32 KiB; other texts stop at 4 KiB.
  std::vector<char> text(0x8000, 'a');
  text.back() = '\0';
  const auto size = static_cast<std::uint32_t>(text.size());
  EXPECT_EQ(vt::DecodeFileNameText({vt::VTCD_SETTEXT, text.data(), size})->size(), text.size() - 1);
  EXPECT_FALSE(vt::DecodeProgramName({vt::VTCD_ATTACH, text.data(), size}));
  text.push_back('\0');
  EXPECT_FALSE(vt::DecodeFileNameText({vt::VTCD_SETTEXT, text.data(), size + 1}));

  Bytes folder = List({10, 12});
  auto f = Exact(folder);
  const auto list = vt::DecodeFolder({vt::VTCD_FOLDER, f.get(), static_cast<std::uint32_t>(folder.size())});
  ASSERT_TRUE(list);
  EXPECT_EQ(list->size, folder.size());
  EXPECT_FALSE(vt::DecodeFolder({vt::VTCD_FOLDER, f.get(), 3}));
}

}  // namespace
