// Shell item identifier lists as bytes: items of a 16-bit little-endian count (including the
// count itself) and data, ended by a zero count. Lists that come from another process, from
// memory of the host nobody vouches for, or from the registry are walked only within what
// they came in; a malformed list has size 0.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vt {

// Largest list accepted anywhere: by the walk, the join, the shell allocation, the folder
// report and the panel's gate for it. Real lists are a few hundred bytes and one item is at
// most 64 KiB by its count; with a hundred times the real size as room, a longer list is
// taken as damaged, and every walk and copy of foreign bytes stays this small.
inline constexpr std::size_t kMaxItemListSize = 0x8000;

// Answers whether n bytes at p may be read. A buffer of known size answers from its bounds;
// the hook library asks the memory manager about the host's pages.
class ReadProbe {
 public:
  virtual bool Readable(const void* p, std::size_t n) const = 0;

 protected:
  ~ReadProbe() = default;
};

class BufferProbe final : public ReadProbe {
 public:
  BufferProbe(const void* data, std::size_t size) : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
  bool Readable(const void* p, std::size_t n) const override;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// The one walk. Size including the 2-byte terminator of the list at `list`, reading only what
// the probe allows, each item whole before the next count is read, and at most
// kMaxItemListSize bytes; 0 for no list and for a malformed one (an item count of 1, an item
// that cannot be read, no terminator within the limit). The empty list has size 2.
std::size_t ItemListSizeProbed(const void* list, const ReadProbe& probe);
// The same for a list stored in `capacity` bytes.
std::size_t ItemListSizeIn(const void* list, std::size_t capacity);
// A list that this process owns (from the shell or its own copy).
std::size_t ItemListSize(const void* list);
// True when the bytes are exactly one well-formed list: its terminator ends the buffer.
bool ItemListExact(const void* list, std::size_t size);

const void* ItemListNext(const void* item);
// Items before the terminator; 0 for no list or a malformed one.
std::size_t ItemListCount(const void* list);
// Byte-wise equality item by item; malformed lists are never equal to anything.
bool ItemListSame(const void* a, const void* b);
// Turns the list into its parent's in place (last item's count set to 0).
void ItemListCutLast(void* list);
// Start of the last item (the list itself when it has at most one item).
const void* ItemListLast(const void* list);

// The one join: the items of `first` (without its terminator), then `second` whole. Both
// sizes are those of checked lists (2 to kMaxItemListSize). The size of the result, or 0 when
// a size is impossible or the result would exceed kMaxItemListSize.
std::size_t JoinedItemListSize(std::size_t firstSize, std::size_t secondSize);
// Writes the join into out (capacity bytes) and returns its size; 0, and nothing written,
// when JoinedItemListSize gives 0 or the join does not fit.
std::size_t JoinItemListsInto(void* out, std::size_t capacity, const void* first, std::size_t firstSize,
                              const void* second, std::size_t secondSize);

// Byte-string results for the window-free callers; the shell-allocated forms are in
// util/ShellIdList.h.
std::vector<std::uint8_t> ItemListBytes(const void* list);
// Lists this process owns; a null first list stands for the desktop. Empty when either list
// is malformed (a damaged folder must not be passed off as the desktop) or the join is too long.
std::vector<std::uint8_t> ConcatItemListBytes(const void* first, const void* second);
std::vector<std::uint8_t> ItemListLastBytes(const void* list);

}  // namespace vt
