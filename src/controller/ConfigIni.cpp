#include "controller/ConfigIni.h"

#include <windows.h>

namespace vt {

namespace {

// Returned for a key that is absent, so that "absent" and "empty" stay apart. A real value
// cannot hold it: the profile functions read text lines.
constexpr char kAbsent[] = "\x01";

std::optional<std::string> LookupKey(void* context, const char* section, const char* key) {
  const auto* path = static_cast<const std::string*>(context);
  // A switch is a number; 64 characters are plenty and a longer text is not a number anyway.
  char buf[64] = "";
  GetPrivateProfileStringA(section, key, kAbsent, buf, sizeof buf, path->c_str());
  if (std::string(buf) == kAbsent) return std::nullopt;
  return std::string(buf);
}

}  // namespace

DebugSwitches ReadDebugSettings(const std::string& iniPath) {
  std::string path = iniPath;
  return ReadDebugSwitches(LookupKey, &path);
}

void WriteVersion(const std::string& iniPath) {
  WritePrivateProfileStringA(kIniCommonSection, kIniVersionKey, kVersionText, iniPath.c_str());
  // All-null arguments flush the cached file to disk.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, iniPath.c_str());
}

}  // namespace vt
