#include "controller/AppGlobals.h"

#include <vector>

#include "settings/Win32Registry.h"

namespace vt {

std::string FolderOfPath(const std::string& path) {
  std::size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string OwnProgramPath() {
  // Paths can exceed MAX_PATH; a truncated name would point the program at a wrong folder.
  std::vector<char> buf(MAX_PATH);
  for (int round = 0; round < 4; ++round) {
    DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) return std::string(buf.data(), n);
    buf.resize(buf.size() * 4);
  }
  return {};
}

const std::string& ProgramFolder() {
  static const std::string folder = FolderOfPath(OwnProgramPath());
  return folder;
}

TQRegistry& AppRegistry() {
  static Win32Registry backend(HKEY_CURRENT_USER);
  static TQRegistry registry = [] {
    TQRegistry r(backend);
    r.SetBaseKey(kProgramKey);
    return r;
  }();
  return registry;
}

DebugSwitches& DebugSettings() {
  static DebugSwitches switches;
  return switches;
}

}  // namespace vt
