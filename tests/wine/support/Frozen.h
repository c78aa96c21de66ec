// A process stopped whole, as a debugger or a deadlock stops it, for the tests of programs
// that do not answer.
#pragma once
#include <windows.h>
#include <tlhelp32.h>  // after windows.h

#include <vector>

namespace vtt {

// Every thread of a process stopped, as a debugger or a deadlock would, and started again.
class Frozen {
 public:
  explicit Frozen(DWORD pid) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 t{};
    t.dwSize = sizeof t;
    for (BOOL ok = Thread32First(snap, &t); ok; ok = Thread32Next(snap, &t)) {
      if (t.th32OwnerProcessID != pid) continue;
      if (HANDLE h = OpenThread(THREAD_SUSPEND_RESUME, FALSE, t.th32ThreadID)) {
        SuspendThread(h);
        threads_.push_back(h);
      }
    }
    CloseHandle(snap);
  }
  ~Frozen() { Thaw(); }
  Frozen(const Frozen&) = delete;
  Frozen& operator=(const Frozen&) = delete;
  void Thaw() {
    for (HANDLE h : threads_) {
      ResumeThread(h);
      CloseHandle(h);
    }
    threads_.clear();
  }
  bool Any() const { return !threads_.empty(); }

 private:
  std::vector<HANDLE> threads_;
};

// How long the window takes to answer a WM_NULL, up to `limit` ms.
inline DWORD AnswerTime(HWND w, DWORD limit) {
  const DWORD start = GetTickCount();
  DWORD_PTR r = 0;
  if (!SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, limit, &r)) return limit;
  return GetTickCount() - start;
}

}  // namespace vtt
