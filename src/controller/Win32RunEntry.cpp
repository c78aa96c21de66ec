#include "controller/Win32RunEntry.h"

#include <windows.h>

#include "settings/Catalogue.h"
#include "util/Handles.h"

namespace vt {

namespace {
UniqueKey OpenRunKey() {
  UniqueKey key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
      ERROR_SUCCESS)
    key.reset();
  return key;
}
}  // namespace

void Win32RunEntry::Set(const std::string& command) {
  if (UniqueKey key = OpenRunKey())
    RegSetValueExA(key.get(), kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
}

void Win32RunEntry::Remove() {
  if (UniqueKey key = OpenRunKey()) RegDeleteValueA(key.get(), kRunValue);
}

}  // namespace vt
