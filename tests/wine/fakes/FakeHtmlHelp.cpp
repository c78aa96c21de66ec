// Stands in for HHCtrl.OCX in a program folder: its HtmlHelpA (ordinal 14, as in the real
// engine) appends "desktop|command|file" to htmlhelp.log beside itself, so a test can see
// which topic the program asked for.
#include <windows.h>

#include <cstdio>

namespace {
HMODULE g_self = nullptr;
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = self;
  return TRUE;
}

extern "C" __declspec(dllexport) HWND WINAPI HtmlHelpA(HWND caller, LPCSTR file, UINT command, DWORD_PTR) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(g_self, path, MAX_PATH);
  if (char* slash = strrchr(path, '\\')) lstrcpyA(slash + 1, "htmlhelp.log");
  if (FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "%d|%u|%s\n", caller == GetDesktopWindow() ? 1 : 0, command, file ? file : "");
    std::fclose(f);
  }
  return nullptr;
}
