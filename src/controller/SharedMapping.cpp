#include "controller/SharedMapping.h"

#include <cstring>

namespace vt {

SharedBlock* SharedMapping::Create() {
  Close();
  mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSharedBlockSize,
                                    kSharedBlockName));
  if (!mapping_) return nullptr;
  // The size is given, not 0 ("whole mapping"): a smaller existing section then fails to map
  // instead of giving a view the zero fill would overrun.
  view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, kSharedBlockSize));
  if (!view_) {
    mapping_.reset();
    return nullptr;
  }
  std::memset(view_.get(), 0, kSharedBlockSize);
  return get();
}

void SharedMapping::Close() {
  view_.reset();
  mapping_.reset();
}

}  // namespace vt
