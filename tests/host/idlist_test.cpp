#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "util/IdList.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A heap block of exactly the given bytes, so that ASan reports any read past its end.
class Exact {
 public:
  explicit Exact(const Bytes& bytes) : size_(bytes.size()), data_(new std::uint8_t[bytes.size() ? bytes.size() : 1]) {
    if (size_) std::memcpy(data_.get(), bytes.data(), size_);
  }
  std::uint8_t* get() { return data_.get(); }
  std::size_t size() const { return size_; }
  Bytes bytes() const { return Bytes(data_.get(), data_.get() + size_); }

 private:
  std::size_t size_;
  std::unique_ptr<std::uint8_t[]> data_;
};

Bytes Item(std::uint16_t cb, std::uint8_t fill) {
  Bytes item(cb, fill);
  item[0] = static_cast<std::uint8_t>(cb);
  item[1] = static_cast<std::uint8_t>(cb >> 8);
  return item;
}

Bytes List(std::initializer_list<Bytes> items) {
  Bytes out;
  for (const Bytes& item : items) out.insert(out.end(), item.begin(), item.end());
  out.push_back(0);
  out.push_back(0);
  return out;
}

const Bytes kEmpty = {0, 0};

TEST(IdListSize, WellFormedLists) {
  Exact empty(kEmpty);
  EXPECT_EQ(vt::ItemListSize(empty.get()), 2u);
  EXPECT_EQ(vt::ItemListSize(nullptr), 0u);
  Exact three(List({Item(20, 1), Item(3, 2), Item(300, 3)}));
  EXPECT_EQ(vt::ItemListSize(three.get()), 325u);
  EXPECT_EQ(vt::ItemListSizeIn(three.get(), three.size()), 325u);
  EXPECT_TRUE(vt::ItemListExact(three.get(), three.size()));
  EXPECT_EQ(vt::ItemListCount(three.get()), 3u);
  EXPECT_EQ(vt::ItemListCount(empty.get()), 0u);
  EXPECT_EQ(vt::ItemListCount(nullptr), 0u);

  // Bytes after the terminator are not part of the list.
  Bytes padded = List({Item(4, 9)});
  padded.push_back(0xEE);
  Exact withTail(padded);
  EXPECT_EQ(vt::ItemListSizeIn(withTail.get(), withTail.size()), 6u);
  EXPECT_FALSE(vt::ItemListExact(withTail.get(), withTail.size()));
}

TEST(IdListSize, MalformedListsHaveNoSizeAndAreNeverReadPastTheirBuffer) {
  // No terminator inside the buffer.
  Exact unterminated(Item(6, 1));
  EXPECT_EQ(vt::ItemListSizeIn(unterminated.get(), unterminated.size()), 0u);
  // A terminator cut in half.
  Bytes half = Item(6, 1);
  half.push_back(0);
  Exact halfEnd(half);
  EXPECT_EQ(vt::ItemListSizeIn(halfEnd.get(), halfEnd.size()), 0u);
  // An item running past the buffer, in the middle of the list.
  Bytes over = Item(6, 1);
  Bytes big = Item(6, 2);
  big[0] = 200;
  over.insert(over.end(), big.begin(), big.end());
  over.push_back(0);
  over.push_back(0);
  Exact overrun(over);
  EXPECT_EQ(vt::ItemListSizeIn(overrun.get(), overrun.size()), 0u);
  // A count of 1 cannot hold itself and would stall a walk.
  Bytes one = Item(6, 1);
  one.push_back(1);
  one.push_back(0);
  one.push_back(0);
  one.push_back(0);
  Exact countOne(one);
  EXPECT_EQ(vt::ItemListSizeIn(countOne.get(), countOne.size()), 0u);
  // An odd single byte, and an empty buffer.
  Exact single(Bytes{0});
  EXPECT_EQ(vt::ItemListSizeIn(single.get(), single.size()), 0u);
  Exact none(Bytes{});
  EXPECT_EQ(vt::ItemListSizeIn(none.get(), 0), 0u);
  EXPECT_FALSE(vt::ItemListExact(none.get(), 0));
  // A terminator in the middle ends the list there: the rest is outside it.
  Bytes early = List({Item(4, 1)});
  Bytes rest = List({Item(8, 2)});
  early.insert(early.end(), rest.begin(), rest.end());
  Exact earlyEnd(early);
  EXPECT_EQ(vt::ItemListSizeIn(earlyEnd.get(), earlyEnd.size()), 6u);
}

TEST(IdListSize, ListsAboveTheLargestAcceptedSizeAreRefused) {
  Bytes huge;
  while (huge.size() < vt::kMaxItemListSize) {
    Bytes item = Item(1000, 5);
    huge.insert(huge.end(), item.begin(), item.end());
  }
  huge.push_back(0);
  huge.push_back(0);
  Exact list(huge);
  EXPECT_EQ(vt::ItemListSizeIn(list.get(), list.size()), 0u);
  EXPECT_EQ(vt::ItemListCount(list.get()), 0u);
}

TEST(IdListSame, ComparesItemByItem) {
  Exact a(List({Item(5, 1), Item(7, 2)}));
  Exact b(List({Item(5, 1), Item(7, 2)}));
  Exact differentData(List({Item(5, 1), Item(7, 3)}));
  Exact differentCount(List({Item(5, 1), Item(8, 2)}));
  Exact prefix(List({Item(5, 1)}));
  Exact empty1(kEmpty), empty2(kEmpty);
  EXPECT_TRUE(vt::ItemListSame(a.get(), b.get()));
  EXPECT_FALSE(vt::ItemListSame(a.get(), differentData.get()));
  EXPECT_FALSE(vt::ItemListSame(a.get(), differentCount.get()));
  EXPECT_FALSE(vt::ItemListSame(a.get(), prefix.get()));
  EXPECT_FALSE(vt::ItemListSame(prefix.get(), a.get()));
  EXPECT_TRUE(vt::ItemListSame(empty1.get(), empty2.get()));
  EXPECT_FALSE(vt::ItemListSame(empty1.get(), prefix.get()));
  EXPECT_FALSE(vt::ItemListSame(nullptr, nullptr));
  EXPECT_FALSE(vt::ItemListSame(a.get(), nullptr));
}

TEST(IdListCutLast, GivesTheParent) {
  Exact three(List({Item(4, 1), Item(6, 2), Item(5, 3)}));
  vt::ItemListCutLast(three.get());
  EXPECT_EQ(vt::ItemListSize(three.get()), 12u);
  EXPECT_EQ(vt::ItemListCount(three.get()), 2u);
  Exact one(List({Item(9, 1)}));
  vt::ItemListCutLast(one.get());
  EXPECT_EQ(vt::ItemListSize(one.get()), 2u);  // the desktop
  Exact empty(kEmpty);
  vt::ItemListCutLast(empty.get());
  EXPECT_EQ(empty.bytes(), kEmpty);
  vt::ItemListCutLast(nullptr);

  Bytes broken = Item(6, 1);
  broken.insert(broken.end(), {1, 0, 0, 0});  // a count of 1 in the middle
  Exact damaged(broken);
  Bytes before = damaged.bytes();
  vt::ItemListCutLast(damaged.get());
  EXPECT_EQ(damaged.bytes(), before);  // left unchanged
}

TEST(IdListLast, CopiesOnlyTheLastItem) {
  Bytes third = Item(9, 3);
  Exact three(List({Item(4, 1), Item(6, 2), third}));
  Bytes last = vt::ItemListLastBytes(three.get());
  EXPECT_EQ(last.size(), 9u + 2u);
  EXPECT_EQ(last, List({third}));
  Exact one(List({Item(4, 1)}));
  EXPECT_EQ(vt::ItemListLastBytes(one.get()), one.bytes());
  Exact empty(kEmpty);
  EXPECT_EQ(vt::ItemListLastBytes(empty.get()), kEmpty);
  EXPECT_EQ(vt::ItemListLast(empty.get()), empty.get());
  EXPECT_TRUE(vt::ItemListLastBytes(nullptr).empty());
}

TEST(IdListNext, StepsOverOneItem) {
  Exact two(List({Item(4, 1), Item(6, 2)}));
  const void* second = vt::ItemListNext(two.get());
  EXPECT_EQ(second, two.get() + 4);
  const void* end = vt::ItemListNext(second);
  EXPECT_EQ(end, two.get() + 10);
  EXPECT_EQ(vt::ItemListNext(end), nullptr);  // the terminator has no successor
  EXPECT_EQ(vt::ItemListNext(nullptr), nullptr);
}

TEST(IdListConcat, JoinsFolderAndItem) {
  Bytes a = Item(5, 1), b = Item(4, 2), c = Item(7, 3);
  Exact folder(List({a, b}));
  Exact item(List({c}));
  EXPECT_EQ(vt::ConcatItemListBytes(folder.get(), item.get()), List({a, b, c}));
  EXPECT_EQ(vt::ConcatItemListBytes(nullptr, item.get()), item.bytes());
  Exact empty(kEmpty);
  EXPECT_EQ(vt::ConcatItemListBytes(empty.get(), item.get()), item.bytes());
  EXPECT_EQ(vt::ConcatItemListBytes(folder.get(), empty.get()), folder.bytes());
  EXPECT_TRUE(vt::ConcatItemListBytes(folder.get(), nullptr).empty());

  Bytes broken = Item(6, 1);
  broken.insert(broken.end(), {1, 0, 0, 0});  // a count of 1 in the middle
  Exact damaged(broken);
  EXPECT_TRUE(vt::ConcatItemListBytes(damaged.get(), item.get()).empty());
  EXPECT_TRUE(vt::ConcatItemListBytes(folder.get(), damaged.get()).empty());

  EXPECT_EQ(vt::ItemListBytes(folder.get()), folder.bytes());
  EXPECT_TRUE(vt::ItemListBytes(nullptr).empty());
}

TEST(IdListConcat, RefusesResultsAboveTheLargestList) {
  Bytes big;
  while (big.size() + 2 + 1000 < vt::kMaxItemListSize) {
    Bytes item = Item(1000, 5);
    big.insert(big.end(), item.begin(), item.end());
  }
  big.push_back(0);
  big.push_back(0);
  Exact folder(big);
  ASSERT_NE(vt::ItemListSize(folder.get()), 0u);
  Exact item(List({Item(2000, 1)}));
  EXPECT_TRUE(vt::ConcatItemListBytes(folder.get(), item.get()).empty());
}

}  // namespace
