#include "hooklib/HookInstance.h"

#include <cstring>

#include "hooklib/HostProgram.h"
#include "protocol/Messages.h"
#include "protocol/Handle32.h"
#include "protocol/Slots.h"

namespace vt::hook {

Instance g;

void OpenSharedBlock() {
  g.controller = nullptr;
  SetLastError(0);
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSharedBlockSize,
                                      kSharedBlockName);
  DWORD error = GetLastError();
  if (mapping && error == ERROR_ALREADY_EXISTS) {
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0);
    // Any program can make a block of this name first, of any size: one shorter than the
    // layout would have every host read past its end.
    MEMORY_BASIC_INFORMATION info{};
    if (view && (!VirtualQuery(view, &info, sizeof info) || info.RegionSize < kSharedBlockSize)) {
      UnmapViewOfFile(view);
      view = nullptr;
    }
    if (!view) {
      // Kept open, the handle would keep that block alive after its maker ends, and the next
      // controller could then make no block of its own while this process lives.
      CloseHandle(mapping);
      g.openError = 103;
      return;
    }
    g.mapping = mapping;
    g.block = static_cast<SharedBlock*>(view);
    return;
  }
  // Only the controller creates the block; a block made here would be an empty one nobody
  // fills, so it is dropped again.
  if (mapping) CloseHandle(mapping);
  g.openError = 129;
}

void CloseSharedBlock() {
  if (g.block) UnmapViewOfFile(g.block);
  if (g.mapping) CloseHandle(g.mapping);
  g.block = nullptr;
  g.mapping = nullptr;
}

bool DebugOn() {
  const volatile SharedBlock* block = g.block;
  return block && block->ShowErrors != 0;
}

void ReportDebugBox(const char* text, const char* caption) {
  if (DebugOn()) MessageBoxA(nullptr, text, caption, MB_OK);
}

void ReportError(const char* text) {
  if (!DebugOn()) return;
  char message[128] = "Error - ";
  lstrcpynA(message + 8, text, sizeof message - 8);
  MessageBoxA(nullptr, message, "Vantrel - Debug mode", MB_OK);
}

namespace {
bool IsControllerClass(HWND window) {
  char name[100];
  int n = GetClassNameA(window, name, sizeof name);
  return n > 0 && std::strcmp(name, kControllerClass) == 0;
}

bool AnswersIdentify(HWND window) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window, VTM_IDENTIFY, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kQueryTimeoutMs, &answer))
    return false;
  return answer == kIdentifyAnswer;
}
}  // namespace

HWND FindControllerWindow() {
  HWND cached = g.controller;
  if (cached && IsControllerClass(cached)) return cached;
  HWND found = nullptr;
  // Bounded: a desktop full of windows of this class is not walked forever.
  HWND candidate = nullptr;
  for (int i = 0; i < 64; ++i) {
    candidate = FindWindowExA(nullptr, candidate, kControllerClass, nullptr);
    if (!candidate) break;
    if (AnswersIdentify(candidate)) {
      found = candidate;
      break;
    }
  }
  if (!found) ReportError("D-127");
  g.controller = found;
  return found;
}

HWND PanelOfSlot(const DialogSlot& slot) {
  HWND panel = FromHandle32<HWND>(slot.PanelWindow);
  HWND controller = panel ? FindControllerWindow() : nullptr;
  if (!controller) return nullptr;
  DWORD panelProcess = 0, controllerProcess = 0;
  GetWindowThreadProcessId(panel, &panelProcess);
  GetWindowThreadProcessId(controller, &controllerProcess);
  return panelProcess != 0 && panelProcess == controllerProcess ? panel : nullptr;
}

std::size_t GetHostProgramPath(char* out) {
  // The module file names the program whatever its command line holds.
  char module[kProgramPathMax * 4 + 1];
  DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
  if (n > 0 && n < sizeof module) return BoundedProgramPath(std::string_view(module, n), out);
  const char* line = GetCommandLineA();
  if (!line) {
    out[0] = '\0';
    return 0;
  }
  return ProgramPathFromCommandLine(std::string_view(line, strnlen(line, kCommandLineMax)), out);
}

bool ControllerAnswers() {
  const volatile SharedBlock* block = g.block;
  return block && ControllerStampFresh(block->ControllerStamp, GetTickCount());
}

bool SendCopyData(HWND to, WPARAM wParam, DWORD kind, const void* data, DWORD size, UINT timeoutMs) {
  if (!to || !ControllerAnswers()) return false;
  COPYDATASTRUCT cds;
  cds.dwData = kind;
  cds.cbData = size;
  cds.lpData = const_cast<void*>(data);
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutA(to, WM_COPYDATA, wParam, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                             timeoutMs, &ignored) != 0;
}

void PinLibrary() {
  if (InterlockedExchange(&g.pinned, 1) != 0) return;
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCSTR>(&PinLibrary), &self);
}

}  // namespace vt::hook
