// The size and date of the file a shell item names (Windows build).
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <cstdint>

namespace vt {

// size -1 and date -1.0 for anything unknown; an empty file has no size either. The date is
// the last write, as util/FileDate.h gives it.
void FileInfoOfItem(LPCITEMIDLIST list, std::int64_t& size, double& date);

}  // namespace vt
