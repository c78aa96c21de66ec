#include "controller/SharedMapping.h"

#include <cstring>

namespace vt {

SharedBlock* SharedMapping::Create() {
  Close();
  mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSharedBlockSize,
                                kSharedBlockName);
  if (!mapping_) return nullptr;
  // The size is given, not 0 ("whole mapping"): a smaller existing section then fails to map
  // instead of giving a view the zero fill would overrun.
  void* view = MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, kSharedBlockSize);
  if (!view) {
    CloseHandle(mapping_);
    mapping_ = nullptr;
    return nullptr;
  }
  std::memset(view, 0, kSharedBlockSize);
  view_ = static_cast<SharedBlock*>(view);
  return view_;
}

void SharedMapping::Close() {
  if (view_) UnmapViewOfFile(view_);
  view_ = nullptr;
  if (mapping_) CloseHandle(mapping_);
  mapping_ = nullptr;
}

}  // namespace vt
