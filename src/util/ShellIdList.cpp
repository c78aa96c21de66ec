#include "util/ShellIdList.h"

#include <cstring>

#include "util/Handles.h"

namespace vt {

HRESULT ShellAllocator(IMalloc** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return SHGetMalloc(out);
}

LPITEMIDLIST ItemListAlloc(std::size_t size) {
  if (size == 0 || size > kMaxItemListSize) return nullptr;
  IMalloc* raw = nullptr;
  const HRESULT hr = ShellAllocator(&raw);
  const ComPtr<IMalloc> allocator(raw);
  if (FAILED(hr) || !allocator) return nullptr;
  void* block = allocator->Alloc(static_cast<ULONG>(size));
  if (!block) return nullptr;
  std::memset(block, 0, size);
  return static_cast<LPITEMIDLIST>(block);
}

void ItemListFree(LPITEMIDLIST list) {
  if (!list) return;
  IMalloc* raw = nullptr;
  const HRESULT hr = ShellAllocator(&raw);
  const ComPtr<IMalloc> allocator(raw);
  if (SUCCEEDED(hr) && allocator) allocator->Free(list);
}

LPITEMIDLIST ItemListCopy(LPCITEMIDLIST list) {
  std::size_t size = ItemListSize(list);
  if (size == 0) return nullptr;
  LPITEMIDLIST copy = ItemListAlloc(size);
  if (copy) std::memcpy(copy, list, size);
  return copy;
}

LPITEMIDLIST ItemListLastCopy(LPCITEMIDLIST list) {
  if (ItemListSize(list) == 0) return nullptr;
  return ItemListCopy(static_cast<LPCITEMIDLIST>(ItemListLast(list)));
}

LPITEMIDLIST ConcatIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second) {
  std::size_t secondSize = ItemListSize(second);
  if (secondSize == 0) return nullptr;
  std::size_t head = 0;
  if (first) {
    std::size_t firstSize = ItemListSize(first);
    // A damaged folder list gives nothing rather than a list that names some other folder.
    if (firstSize == 0) return nullptr;
    head = firstSize - 2;
  }
  LPITEMIDLIST out = ItemListAlloc(head + secondSize);  // refuses more than kMaxItemListSize
  if (!out) return nullptr;
  auto* bytes = reinterpret_cast<std::uint8_t*>(out);
  if (head) std::memcpy(bytes, first, head);
  std::memcpy(bytes + head, second, secondSize);
  return out;
}

}  // namespace vt
