#include "util/ShellIdList.h"

#include <cstring>
#include <vector>

#include "util/Handles.h"

namespace vt {

namespace {
// size bytes of a checked list into the shell's allocator; none for size 0.
ItemListPtr CopyToShell(const void* list, std::size_t size) {
  ItemListPtr copy = ItemListAlloc(size);  // none for 0 and beyond kMaxItemListSize
  if (copy) std::memcpy(copy.get(), list, size);
  return copy;
}
}  // namespace

HRESULT ShellAllocator(IMalloc** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return SHGetMalloc(out);
}

ItemListPtr ItemListAlloc(std::size_t size) {
  if (size == 0 || size > kMaxItemListSize) return nullptr;
  IMalloc* raw = nullptr;
  const HRESULT hr = ShellAllocator(&raw);
  const ComPtr<IMalloc> allocator(raw);
  if (FAILED(hr) || !allocator) return nullptr;
  void* block = allocator->Alloc(static_cast<ULONG>(size));
  if (!block) return nullptr;
  std::memset(block, 0, size);
  return ItemListPtr(static_cast<LPITEMIDLIST>(block));
}

void ItemListFree(LPITEMIDLIST list) {
  if (!list) return;
  IMalloc* raw = nullptr;
  const HRESULT hr = ShellAllocator(&raw);
  const ComPtr<IMalloc> allocator(raw);
  if (SUCCEEDED(hr) && allocator) allocator->Free(list);
}

ItemListPtr ItemListCopy(LPCITEMIDLIST list) { return CopyToShell(list, ItemListSize(list)); }

ItemListPtr ItemListLastCopy(LPCITEMIDLIST list) {
  if (ItemListSize(list) == 0) return nullptr;
  const void* last = ItemListLast(list);
  return CopyToShell(last, ItemListSize(last));
}

ItemListPtr ConcatIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second) {
  const std::vector<std::uint8_t> joined = ConcatItemListBytes(first, second);
  return CopyToShell(joined.data(), joined.size());
}

}  // namespace vt
