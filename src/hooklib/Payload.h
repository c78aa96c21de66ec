// Checks for everything that reaches a hook instance from outside its own code: WM_COPYDATA
// records and identifier lists whose extent nobody vouches for. Each check gives a defined
// answer and reads nothing outside what it was told is there.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vt::hook {

// Identifier lists larger than this are taken as damaged; real folders take a few hundred bytes.
inline constexpr std::size_t kHookItemListMax = 0x8000;

// Answers whether n bytes at p may be read. The Windows side asks the memory manager; a
// buffer of known size answers from its bounds.
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
// Both sizes are those of checked lists (at least 2). Returns the bytes written, or 0 when
// a size is impossible or the result does not fit.
std::size_t ConcatItemListsInto(void* out, std::size_t capacity, const void* folder, std::size_t folderSize,
                                const void* item, std::size_t itemSize);

// The text of a WM_COPYDATA payload: the bytes before the first NUL within `size`. False
// (and no text) for no data, size 0, or no NUL inside the payload.
bool PayloadText(const void* data, std::uint32_t size, std::string_view* text);

// Whole-payload checks for every WM_COPYDATA kind of the protocol, by receiver, so that each
// side refuses the same malformed records: a record of the wrong size, a text without its
// NUL (or with cbData other than its length + 1), a folder list that is not exactly one
// well-formed list of cbData bytes. Unknown kinds are refused.
enum class CopyReceiver { Controller, Panel, Dialog };
bool IsValidCopyData(CopyReceiver receiver, std::uint32_t kind, const void* data, std::uint32_t size);

}  // namespace vt::hook
