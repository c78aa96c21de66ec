// Identifier lists allocated with the shell's task allocator (Windows build). Whoever receives
// a list from these functions frees it with ItemListFree.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <cstddef>

#include "util/IdList.h"

namespace vt {

HRESULT ShellAllocator(IMalloc** out);
// Zero-filled; null on failure and for 0 or more than kMaxItemListSize bytes.
LPITEMIDLIST ItemListAlloc(std::size_t size);
void ItemListFree(LPITEMIDLIST list);
LPITEMIDLIST ItemListCopy(LPCITEMIDLIST list);
LPITEMIDLIST ItemListLastCopy(LPCITEMIDLIST list);
LPITEMIDLIST ConcatIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second);

}  // namespace vt
