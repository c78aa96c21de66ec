#include "util/UtilsExe.h"

#include <shellapi.h>

#include <cstring>

#include "util/IdList.h"
#include "util/Handles.h"
#include "util/ShellIdList.h"

namespace vt {

namespace {

bool g_showDlgBorder = false;

// ShellExecuteA's texts went through buffers of this many characters.
constexpr std::size_t kShellTextMax = 256;

bool ShellTextUsable(const std::string& text) {
  return text.size() <= kShellTextMax && text.find('\0') == std::string::npos;
}

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

// Attributes of a path with critical-error boxes off, so that a drive without a medium
// answers "not there" instead of asking the user.
DWORD QuietAttributes(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return INVALID_FILE_ATTRIBUTES;
  UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  DWORD attributes = GetFileAttributesA(path.c_str());
  SetErrorMode(previous);
  return attributes;
}

// Days since 30 December 1899 of a proleptic Gregorian date.
std::int64_t DaysSinceEpoch1899(int year, int month, int day) {
  // Howard Hinnant's days_from_civil, shifted to the 1899-12-30 origin.
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(year - era * 400);
  const unsigned doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t fromUnixEpoch = era * 146097 + static_cast<std::int64_t>(doe) - 719468;
  return fromUnixEpoch + 25569;  // 1970-01-01 is day 25569
}

double DateOfFileTime(const FILETIME& utc) {
  if (utc.dwLowDateTime == 0 && utc.dwHighDateTime == 0) return -1.0;
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return -1.0;
  double day = static_cast<double>(DaysSinceEpoch1899(st.wYear, st.wMonth, st.wDay));
  double ms = ((st.wHour * 60.0 + st.wMinute) * 60.0 + st.wSecond) * 1000.0 + st.wMilliseconds;
  return day + ms / 86400000.0;
}

}  // namespace

void SetShowDlgBorder(bool on) { g_showDlgBorder = on; }

bool GetFrameMetrics(int& frameWidth, int& frameHeight, int& captionHeight, bool force) {
  frameWidth = frameHeight = captionHeight = 0;
  if (!g_showDlgBorder || force) {
    frameWidth = GetSystemMetrics(SM_CXFRAME);
    frameHeight = GetSystemMetrics(SM_CYFRAME);
    captionHeight = GetSystemMetrics(SM_CYCAPTION);
  }
  return g_showDlgBorder;
}

int OpenWithShell(const std::string& file, const std::string& parameters, const std::string& folder, int show) {
  if (!ShellTextUsable(file) || !ShellTextUsable(parameters) || !ShellTextUsable(folder)) return 0;
  HINSTANCE result = ShellExecuteA(nullptr, "open", file.c_str(), OrNull(parameters), OrNull(folder), show);
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

bool FileThere(const std::string& path) {
  DWORD attributes = QuietAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderThere(const std::string& path) {
  DWORD attributes = QuietAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

IShellFolder* FolderOfItemList(LPCITEMIDLIST list) {
  if (ItemListSize(list) == 0) return nullptr;
  LPITEMIDLIST raw = nullptr;
  const HRESULT hr = SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &raw);
  const ItemListPtr desktopList(raw);
  const bool isDesktop = SUCCEEDED(hr) && desktopList && ItemListSame(desktopList.get(), list);
  ComPtr<IShellFolder> desktop(DesktopFolder());
  if (!desktop || isDesktop) return desktop.release();
  ComPtr<IShellFolder> folder;
  if (FAILED(desktop->BindToObject(list, nullptr, IID_IShellFolder, folder.put_void()))) return nullptr;
  return folder.release();
}

void FileInfoOfItem(LPCITEMIDLIST list, std::int64_t& size, double& date) {
  size = -1;
  date = -1.0;
  if (ItemListSize(list) <= 2) return;  // no list, a damaged one, or the desktop: no file
  ItemListPtr parent(ItemListCopy(list));
  const ItemListPtr child(ItemListLastCopy(list));
  if (!parent || !child) return;
  ItemListCutLast(parent.get());
  ComPtr<IShellFolder> folder(FolderOfItemList(parent.get()));
  if (!folder) return;
  WIN32_FIND_DATAA data;
  std::memset(&data, 0, sizeof data);
  if (SHGetDataFromIDListA(folder.get(), child.get(), SHGDFIL_FINDDATA, &data, sizeof data) != S_OK) return;
  std::int64_t bytes = static_cast<std::int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  size = bytes == 0 ? -1 : bytes;
  date = DateOfFileTime(data.ftLastWriteTime);
}

char LocaleDecimalSeparator() {
  char text[8] = {0};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) > 0 && text[0]) return text[0];
  return '.';
}

}  // namespace vt
