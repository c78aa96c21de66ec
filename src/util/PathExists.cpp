#include "util/PathExists.h"

#include <windows.h>

namespace vt {

namespace {
DWORD QuietAttributes(const std::string& path) {
  // An embedded NUL would test a shorter path.
  if (path.empty() || path.find('\0') != std::string::npos) return INVALID_FILE_ATTRIBUTES;
  UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  DWORD attributes = GetFileAttributesA(path.c_str());
  SetErrorMode(previous);
  return attributes;
}
}  // namespace

bool FileThere(const std::string& path) {
  DWORD attributes = QuietAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderThere(const std::string& path) {
  DWORD attributes = QuietAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace vt
