// COM and shell calls inside the host: functions are taken from the modules the dialog has
// already loaded (this library imports neither, so that it loads nothing into programs that
// show no dialog), interfaces are held by a small owner, and a dialog's shell browser is asked
// of the window that hosts its folder view.
#pragma once
#include <windows.h>
#include <shlobj.h>

namespace vt::hook {

template <typename Fn>
Fn LoadedExport(const char* module, const char* name) {
  HMODULE m = GetModuleHandleA(module);
  return m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T* get() const { return p_; }
  void** put() { return reinterpret_cast<void**>(&p_); }
  T** out() { return &p_; }

 private:
  T* p_ = nullptr;
};

// The shell's long-standing message for a window's IShellBrowser; the answer is not
// reference-counted.
inline constexpr UINT kGetShellBrowser = WM_USER + 7;

// Frees what the shell allocated with its task allocator (identifier lists among them).
inline void FreeShellMemory(void* p) {
  using FreeFn = void(WINAPI*)(LPVOID);
  if (!p) return;
  if (auto free = LoadedExport<FreeFn>("ole32.dll", "CoTaskMemFree")) free(p);
}

}  // namespace vt::hook
