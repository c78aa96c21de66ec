// Shell item identifier lists as bytes: items of a 16-bit little-endian count (including the
// count itself) and data, ended by a zero count. Lists that come from another process or the
// registry are walked only within the buffer they came in; a malformed list has size 0.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vt {

// Largest list accepted anywhere; real lists are a few hundred bytes.
inline constexpr std::size_t kMaxItemListSize = 0x8000;

// Size including the 2-byte terminator of a list stored in `capacity` bytes; 0 for no list
// and for a malformed one (an item count of 1, an item that runs past the buffer, or no
// terminator inside it). The empty list has size 2.
std::size_t ItemListSizeIn(const void* list, std::size_t capacity);
// A list that this process owns (from the shell or its own copy), bounded by kMaxItemListSize.
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

// Byte-string results for the window-free callers; the shell-allocated forms are in
// util/ShellIdList.h.
std::vector<std::uint8_t> ItemListBytes(const void* list);
std::vector<std::uint8_t> ConcatItemListBytes(const void* first, const void* second);
std::vector<std::uint8_t> ItemListLastBytes(const void* list);

}  // namespace vt
