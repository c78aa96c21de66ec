// libFuzzer target: identifier lists from outside, split into two lists A and B at a point the
// input's first bytes give (each may start with a filler item of a given size, so that lists
// near the size limit need no input that long). Each is walked within its buffer, and again
// with only the list's own bytes readable (the walk must need no more); well-formed ones are
// then stepped through, cut, copied and joined, and the whole input is read as a shell
// identifier-list array. The join into a buffer is also given sizes no checked list has.
// Besides the sanitizers' findings it stops on a size or a joined list that breaks its promise.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "kit/ShellIdArray.h"
#include "util/IdList.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::size_t CountAt(const std::uint8_t* p) { return p[0] | std::size_t{p[1]} << 8; }

struct Walked {
  std::size_t size = 0, count = 0;
};

// Checks one list in an exact buffer and, when it is well-formed, everything done with it.
Walked CheckList(const vtfuzz::Exact& buf) {
  Walked w;
  const std::size_t size = vt::ItemListSizeIn(buf.get(), buf.size());
  VT_FUZZ_CHECK(size <= buf.size() && size <= vt::kMaxItemListSize && size != 1);
  VT_FUZZ_CHECK(vt::ItemListSizeProbed(buf.get(), vt::BufferProbe(buf.get(), size)) == size);
  VT_FUZZ_CHECK(vt::ItemListExact(buf.get(), buf.size()) == (size != 0 && size == buf.size()));
  if (size == 0) return w;
  VT_FUZZ_CHECK(CountAt(buf.get() + size - 2) == 0);

  // From here on the list is owned, as the unbounded readers expect.
  const vtfuzz::Exact own(buf.get(), size);
  VT_FUZZ_CHECK(vt::ItemListSize(own.get()) == size && vt::ItemListSame(own.get(), buf.get()));
  const std::size_t count = vt::ItemListCount(own.get());
  const std::uint8_t* at = own.get();
  const std::uint8_t* last = own.get();
  for (std::size_t i = 0; i < count; ++i) {
    last = at;
    at = static_cast<const std::uint8_t*>(vt::ItemListNext(at));
    VT_FUZZ_CHECK(at && at > last && at <= own.get() + size - 2);
  }
  VT_FUZZ_CHECK(at == own.get() + size - 2 && vt::ItemListNext(at) == nullptr);
  VT_FUZZ_CHECK(vt::ItemListLast(own.get()) == last);
  const Bytes all = vt::ItemListBytes(own.get());
  VT_FUZZ_CHECK(all.size() == size && std::memcmp(all.data(), own.get(), size) == 0);
  const Bytes lastBytes = vt::ItemListLastBytes(own.get());
  VT_FUZZ_CHECK(vt::ItemListExact(lastBytes.data(), lastBytes.size()) && vt::ItemListCount(lastBytes.data()) == (count ? 1u : 0u));

  vtfuzz::Exact parent(own.get(), size);
  vt::ItemListCutLast(parent.get());
  const std::size_t parentSize = vt::ItemListSize(parent.get());
  VT_FUZZ_CHECK(parentSize == (count ? static_cast<std::size_t>(last - own.get()) + 2 : 2));
  VT_FUZZ_CHECK(vt::ItemListCount(parent.get()) == (count ? count - 1 : 0));
  w.size = size;
  w.count = count;
  return w;
}

// An item of cb bytes (at least 2), for reaching the size limits without inputs that long.
Bytes Filler(std::size_t cb) {
  Bytes item(cb < 2 ? 2 : cb, 0x5A);
  item[0] = static_cast<std::uint8_t>(item.size());
  item[1] = static_cast<std::uint8_t>(item.size() >> 8);
  return item;
}

// A size no checked list has: below 2, above the limit, or one that wraps when added to.
std::size_t ImpossibleSize(std::uint32_t r) {
  switch (r % 4) {
    case 0: return r / 4 % 2;
    case 1: return SIZE_MAX - r / 4 % 8;
    case 2: return vt::kMaxItemListSize + 1 + r / 4;
    default: return static_cast<std::size_t>(r | 1) << 32;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t length) {
  vtfuzz::Input in{bytes, length};
  const std::size_t split = in.U16();
  const std::size_t low = in.U16();
  const std::uint8_t flags = in.U8();
  const std::size_t capacity = low | static_cast<std::size_t>(flags & 1) << 16;
  Bytes padA, padB;
  if (flags & 2) padA = Filler(in.U16());
  if (flags & 4) padB = Filler(in.U16());
  const std::uint32_t impossible = in.U32();
  const Bytes rest = in.Rest();
  const std::size_t cut = rest.empty() ? 0 : split % (rest.size() + 1);
  padA.insert(padA.end(), rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(cut));
  padB.insert(padB.end(), rest.begin() + static_cast<std::ptrdiff_t>(cut), rest.end());
  const vtfuzz::Exact a(padA), b(padB);
  const Walked wa = CheckList(a), wb = CheckList(b);

  if (flags & 8) {
    // Sizes no checked list has are refused before anything is read or written.
    const Bytes desktop = {0, 0};
    const vtfuzz::Exact folder(desktop), item(desktop);
    vtfuzz::Exact out(Bytes(64, 0xCC));
    const std::size_t folderSize = impossible & 0x80000000u ? 2 : ImpossibleSize(impossible);
    const std::size_t itemSize = impossible & 0x40000000u ? 2 : ImpossibleSize(impossible >> 3);
    if (folderSize != 2 || itemSize != 2) {
      VT_FUZZ_CHECK(vt::JoinItemListsInto(out.get(), SIZE_MAX, folder.get(), folderSize, item.get(), itemSize) == 0);
      VT_FUZZ_CHECK(out.get()[0] == 0xCC);
    }
  }

  if (wa.size && wb.size) {
    const vtfuzz::Exact first(a.get(), wa.size), second(b.get(), wb.size);
    const std::size_t total = wa.size - 2 + wb.size;
    const Bytes joined = vt::ConcatItemListBytes(first.get(), second.get());
    VT_FUZZ_CHECK(joined.size() == (total <= vt::kMaxItemListSize ? total : 0));
    if (!joined.empty()) {
      VT_FUZZ_CHECK(std::memcmp(joined.data(), first.get(), wa.size - 2) == 0);
      VT_FUZZ_CHECK(std::memcmp(joined.data() + wa.size - 2, second.get(), wb.size) == 0);
      VT_FUZZ_CHECK(vt::ItemListExact(joined.data(), joined.size()));
      VT_FUZZ_CHECK(vt::ItemListCount(joined.data()) == wa.count + wb.count);
    }
    const Bytes alone = vt::ConcatItemListBytes(nullptr, second.get());
    VT_FUZZ_CHECK(alone.size() == wb.size && std::memcmp(alone.data(), second.get(), wb.size) == 0);

    vtfuzz::Exact out(Bytes(capacity, 0xCC));
    const std::size_t written =
        vt::JoinItemListsInto(out.get(), capacity, first.get(), wa.size, second.get(), wb.size);
    // What the hook instance joins goes to the panel's gate, which takes lists up to the limit.
    VT_FUZZ_CHECK(written == (total <= capacity && total <= vt::kMaxItemListSize ? total : 0));
    if (written) VT_FUZZ_CHECK(vt::ItemListSizeIn(out.get(), written) == written && joined.size() == written &&
                               std::memcmp(out.get(), joined.data(), written) == 0);

    // A drop of B's items below folder A, read back as absolute lists.
    const Bytes block = vt::MakeShellIdArray(Bytes(first.get(), first.get() + wa.size),
                                             {Bytes(second.get(), second.get() + wb.size)});
    VT_FUZZ_CHECK(!block.empty());
    const vtfuzz::Exact exactBlock(block);
    const auto lists = vt::ReadShellIdArray(exactBlock.get(), exactBlock.size());
    VT_FUZZ_CHECK(lists.has_value() == !joined.empty());
    if (lists) VT_FUZZ_CHECK(lists->size() == 2 && (*lists)[1] == joined);
  }

  // The whole input as a drop's identifier-list array.
  const vtfuzz::Exact whole(bytes, length);
  if (const auto lists = vt::ReadShellIdArray(whole.get(), whole.size())) {
    VT_FUZZ_CHECK(!lists->empty() && lists->size() <= vt::kMaxShellIdArrayItems + 1);
    for (const Bytes& list : *lists) VT_FUZZ_CHECK(vt::ItemListExact(list.data(), list.size()));
  }
  return 0;
}
