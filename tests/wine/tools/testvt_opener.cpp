// Stands in for "the program associated with a file type": records the folder it was started
// in and the file it was given into <file>.seen, so a test can see how it was started.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  char cwd[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof cwd, cwd);
  std::string out = std::string(argv[1]) + ".seen";
  FILE* f = std::fopen(out.c_str(), "wb");
  if (!f) return 3;
  std::fprintf(f, "%s\n%s\n", cwd, argv[1]);
  std::fclose(f);
  return 0;
}
