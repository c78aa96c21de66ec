// COM and shell calls inside the host: functions are taken from the modules the dialog has
// already loaded (this library imports neither, so that it loads nothing into programs that
// show no dialog), and what the shell allocates is freed through the host's own COM library.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <memory>

namespace vt::hook {

template <typename Fn>
Fn LoadedExport(const char* module, const char* name) {
  HMODULE m = GetModuleHandleA(module);
  return m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

// A list from the shell's allocator.
struct HostListFree {
  void operator()(ITEMIDLIST* list) const {
    using FreeFn = void(WINAPI*)(LPVOID);
    if (auto free = LoadedExport<FreeFn>("ole32.dll", "CoTaskMemFree")) free(list);
  }
};
using HostItemList = std::unique_ptr<ITEMIDLIST, HostListFree>;

// The shell's long-standing message for a window's IShellBrowser; the answer is not
// reference-counted. The classic dialog answers it itself, the item dialog's explorer browser
// for its own.
inline constexpr UINT kGetShellBrowser = WM_USER + 7;

}  // namespace vt::hook
