#include "support/WineTest.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "settings/Product.h"

namespace vtt {
namespace {

std::string UnixToWindows(const char* unixPath) {
  std::string p = "Z:";
  p += unixPath;
  for (char& c : p)
    if (c == '/') c = '\\';
  if (p.back() != '\\') p += '\\';
  return p;
}

std::string EnvPath(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  if (v && *v) return UnixToWindows(v);
  return fallback;
}

}  // namespace

std::string DistDir() { return EnvPath("VT_DIST", ".\\"); }
std::string ToolsDir() { return EnvPath("VT_TOOLS", ".\\"); }

std::string TempDir() {
  char buf[MAX_PATH];
  DWORD n = GetTempPathA(sizeof buf, buf);
  std::string t = (n && n < sizeof buf) ? std::string(buf, n) : std::string("C:\\");
  if (t.back() != '\\') t += '\\';
  return t;
}

bool CopyOneFile(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

ProgramFolder::ProgramFolder(const std::vector<std::string>& files, const std::string& tag) {
  static unsigned counter = 0;
  // Wine hands out process ids again: a folder left by an earlier run is never reused.
  for (int tries = 0; tries < 1000; ++tries) {
    char name[64];
    std::snprintf(name, sizeof name, "vt%lu_%u", GetCurrentProcessId(), ++counter);
    path_ = TempDir() + name + (tag.empty() ? "" : " " + tag) + "\\";
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
  }
  for (const std::string& f : files) CopyOneFile(DistDir() + f, path_ + f);
}

static void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string n = fd.cFileName;
      if (n == "." || n == "..") continue;
      std::string full = dir + n;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full + "\\");
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

ProgramFolder::~ProgramFolder() {
  // A program that was just killed may still hold its file for a moment.
  for (int i = 0; i < 20; ++i) {
    RemoveTree(path_);
    if (GetFileAttributesA(path_.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    Sleep(50);
  }
}

Process::Process(const std::string& exe, const std::string& args, const std::string& dir)
    : Process(FromCommandLine(exe, "\"" + exe + "\"" + (args.empty() ? "" : " " + args), dir)) {}

Process Process::FromCommandLine(const std::string& exe, const std::string& cmd, const std::string& dir) {
  Process p;
  PROCESS_INFORMATION& info_ = p.info_;
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back('\0');
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      dir.empty() ? nullptr : dir.c_str(), &si, &info_))
    info_ = {};
  return p;
}

Process::~Process() {
  if (info_.hProcess) CloseHandle(info_.hProcess);
  if (info_.hThread) CloseHandle(info_.hThread);
}

Process::Process(Process&& other) noexcept : info_(other.info_) { other.info_ = {}; }

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    this->~Process();
    info_ = other.info_;
    other.info_ = {};
  }
  return *this;
}

bool Process::Running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Process::WaitExit(DWORD ms) const {
  if (!info_.hProcess) return true;
  return WaitFor([&] { return !Running(); }, ms);
}

DWORD Process::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (info_.hProcess) GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void Process::Kill() {
  if (Running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
}

void Pump(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  do {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (ms) Sleep(5);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

namespace {
// VT_WAIT_SCALE=N stretches every wait N times, for machines where the programs run emulated.
DWORD Scaled(DWORD ms) {
  static const DWORD scale = [] {
    char text[8] = {};
    const DWORD n = GetEnvironmentVariableA("VT_WAIT_SCALE", text, sizeof text);
    const long v = n ? std::strtol(text, nullptr, 10) : 1;
    return static_cast<DWORD>(v >= 1 && v <= 100 ? v : 1);
  }();
  return ms * scale;
}
}  // namespace

bool WaitFor(const std::function<bool()>& cond, DWORD ms) {
  ms = Scaled(ms);
  DWORD start = GetTickCount();
  for (;;) {
    if (cond()) return true;
    if (GetTickCount() - start >= ms) return cond();
    Pump(0);
    Sleep(10);
  }
}

namespace {
struct EnumState {
  DWORD pid;
  const char* cls;
  const char* caption;
  std::vector<HWND>* out;
};

BOOL CALLBACK CollectTop(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<EnumState*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (s->pid && pid != s->pid) return TRUE;
  if (s->cls && ClassOf(w) != s->cls) return TRUE;
  if (s->caption && WindowText(w) != s->caption) return TRUE;
  s->out->push_back(w);
  return TRUE;
}
}  // namespace

std::vector<HWND> TopWindows(DWORD pid, const char* cls, const char* caption) {
  std::vector<HWND> out;
  EnumState s{pid, cls, caption, &out};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
  return out;
}

HWND TopWindow(DWORD pid, const char* cls, const char* caption) {
  auto all = TopWindows(pid, cls, caption);
  return all.empty() ? nullptr : all.front();
}

HWND StartedController(DWORD pid, DWORD ms) {
  const std::string caption = vt::ProductCaption();
  HWND w = nullptr;
  WaitFor([&] { return (w = TopWindow(pid, "TVantrel", caption.c_str())) != nullptr; }, ms);
  return w;
}

std::string WindowText(HWND w) {
  char buf[1024] = {};
  // WM_GETTEXT works across processes for every window, unlike GetWindowText.
  SendMessageTimeoutA(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
  return buf;
}

std::string ClassOf(HWND w) {
  char buf[256] = {};
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

std::string MessageBoxText(HWND box) {
  std::string found;
  for (HWND c = FindWindowExA(box, nullptr, "Static", nullptr); c; c = FindWindowExA(box, c, "Static", nullptr)) {
    std::string t = WindowText(c);
    if (t.size() > found.size()) found = t;
  }
  return found;
}

template <typename Visit>
static void ForEachProcess(Visit visit) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 pe{};
  pe.dwSize = sizeof pe;
  for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe)) visit(pe);
  CloseHandle(snap);
}

int KillProcessesNamed(const char* exeName) {
  int n = 0;
  ForEachProcess([&](const PROCESSENTRY32& pe) {
    if (lstrcmpiA(pe.szExeFile, exeName) != 0) return;
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pe.th32ProcessID);
    if (!h) return;
    TerminateProcess(h, 1);
    WaitForSingleObject(h, 5000);
    CloseHandle(h);
    ++n;
  });
  return n;
}

int CountProcessesNamed(const char* exeName) {
  int n = 0;
  ForEachProcess([&](const PROCESSENTRY32& pe) {
    if (lstrcmpiA(pe.szExeFile, exeName) == 0) ++n;
  });
  return n;
}

static void DeleteTreeUnder(HKEY parent, const std::string& sub) {
  HKEY k;
  if (RegOpenKeyExA(parent, sub.c_str(), 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return;
  char name[512];
  for (;;) {
    DWORD len = sizeof name;
    if (RegEnumKeyExA(k, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    DeleteTreeUnder(k, name);
  }
  RegCloseKey(k);
  RegDeleteKeyA(parent, sub.c_str());
}

void DeleteTree(const std::string& key) { DeleteTreeUnder(HKEY_CURRENT_USER, key); }

static bool Query(const std::string& key, const std::string& value, DWORD* type, std::vector<BYTE>* data) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  LONG r = RegQueryValueExA(k, value.c_str(), nullptr, type, nullptr, &size);
  if (r == ERROR_SUCCESS) {
    data->assign(size + 1, 0);
    r = RegQueryValueExA(k, value.c_str(), nullptr, type, data->data(), &size);
  }
  RegCloseKey(k);
  return r == ERROR_SUCCESS;
}

bool ReadDword(const std::string& key, const std::string& value, DWORD* out) {
  DWORD type = 0;
  std::vector<BYTE> data;
  if (!Query(key, value, &type, &data) || type != REG_DWORD) return false;
  std::memcpy(out, data.data(), 4);
  return true;
}

bool ReadString(const std::string& key, const std::string& value, std::string* out) {
  DWORD type = 0;
  std::vector<BYTE> data;
  if (!Query(key, value, &type, &data) || type != REG_SZ) return false;
  *out = reinterpret_cast<const char*>(data.data());
  return true;
}

bool ValueExists(const std::string& key, const std::string& value) {
  DWORD type = 0;
  std::vector<BYTE> data;
  return Query(key, value, &type, &data);
}

static void SetValue(const std::string& key, const std::string& value, DWORD type, const void* data, DWORD size) {
  HKEY k;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(k, value.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(k);
}

void WriteDword(const std::string& key, const std::string& value, DWORD data) {
  SetValue(key, value, REG_DWORD, &data, 4);
}

void WriteString(const std::string& key, const std::string& value, const std::string& data) {
  SetValue(key, value, REG_SZ, data.c_str(), static_cast<DWORD>(data.size() + 1));
}

void WriteBinary(const std::string& key, const std::string& value, const void* data, DWORD size) {
  SetValue(key, value, REG_BINARY, data, size);
}

SharedView::SharedView() {
  mapping_ = OpenFileMappingA(FILE_MAP_WRITE, FALSE, vt::kSharedBlockName);
  if (mapping_) block_ = static_cast<vt::SharedBlock*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0));
}

SharedView::~SharedView() {
  if (block_) UnmapViewOfFile(block_);
  if (mapping_) CloseHandle(mapping_);
}

std::string ReadFileText(const std::string& path) {
  std::string out;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return out;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got) out.append(buf, got);
  CloseHandle(h);
  return out;
}

void WriteFileText(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD put = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
  CloseHandle(h);
}

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace vtt
