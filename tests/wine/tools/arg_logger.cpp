// Stands in for the program the shell starts for a file type: writes its command line to
// args.log beside itself and ends.
#include <windows.h>

#include <cstdio>

int main() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (char* slash = strrchr(path, '\\')) lstrcpyA(slash + 1, "args.log");
  if (FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "%s\n", GetCommandLineA());
    std::fclose(f);
  }
  return 0;
}
