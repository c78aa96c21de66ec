// Identifier lists allocated with the shell's task allocator (Windows build), each returned in
// its owner.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <cstddef>
#include <memory>

#include "util/IdList.h"

namespace vt {

HRESULT ShellAllocator(IMalloc** out);
void ItemListFree(LPITEMIDLIST list);

// Identifier lists from the shell allocator, freed with it.
struct ShellFree {
  void operator()(ITEMIDLIST* list) const { ItemListFree(list); }
};
using ItemListPtr = std::unique_ptr<ITEMIDLIST, ShellFree>;

// Zero-filled; none on failure and for 0 or more than kMaxItemListSize bytes.
ItemListPtr ItemListAlloc(std::size_t size);
// A copy that the caller frees with ItemListFree (or hands to an ItemListPtr); null for no
// list and a malformed one.
ItemListPtr ItemListCopy(LPCITEMIDLIST list);
ItemListPtr ItemListLastCopy(LPCITEMIDLIST list);
// A null first list stands for the desktop (see ConcatItemListBytes).
ItemListPtr ConcatIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second);

}  // namespace vt
