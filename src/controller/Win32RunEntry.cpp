#include "controller/Win32RunEntry.h"

#include <windows.h>

#include "settings/Catalogue.h"

namespace vt {

void Win32RunEntry::Set(const std::string& command) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                 static_cast<DWORD>(command.size() + 1));
  RegCloseKey(key);
}

void Win32RunEntry::Remove() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegDeleteValueA(key, kRunValue);
  RegCloseKey(key);
}

}  // namespace vt
