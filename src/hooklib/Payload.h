// Identifier lists that a hook instance finds in its host's memory (the folder box's records,
// the list view's items) and whose extent nobody vouches for. Each check gives a defined
// answer and reads nothing outside what it was told is there. WM_COPYDATA payloads go through
// protocol/CopyData.h instead.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vt::hook {

// Identifier lists larger than this are taken as damaged; real folders take a few hundred bytes.
inline constexpr std::size_t kHookItemListMax = 0x8000;

// Answers whether n bytes at p may be read. The Windows side asks the memory manager about
// the pages; a buffer of known size answers from its bounds.
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

// Size of the identifier list at `list`, its 2-byte terminator included, reading only what
// the probe allows and at most kHookItemListMax bytes; 0 for no list and for a damaged one
// (an item count of 1, an item that cannot be read, no terminator within the limit).
std::size_t CheckedItemListSize(const void* list, const ReadProbe& probe);
// The same for a list held in `capacity` bytes.
std::size_t ItemListSizeWithin(const void* list, std::size_t capacity);

// Writes `folder` without its terminator and then `item` with it into out (capacity bytes).
// Both sizes are those of checked lists (2 to kHookItemListMax). Returns the bytes written,
// or 0 when a size is impossible, the result does not fit or would exceed kHookItemListMax.
std::size_t ConcatItemListsInto(void* out, std::size_t capacity, const void* folder, std::size_t folderSize,
                                const void* item, std::size_t itemSize);

}  // namespace vt::hook
