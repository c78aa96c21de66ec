// The resident program's small helpers (Windows build): frame metrics, opening through the
// shell, existence tests that never show a system error box, and file facts of a shell item.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

namespace vt {

// The Config.ini switch ShowDlgBorder, set once at start-up.
void SetShowDlgBorder(bool on);
// The system's frame widths and caption height, or zeros while ShowDlgBorder is on and force
// is false; the result is the state of ShowDlgBorder.
bool GetFrameMetrics(int& frameWidth, int& frameHeight, int& captionHeight, bool force);

// ShellExecuteA "open"; texts longer than 256 characters are refused (result 0) rather than
// cut, since a cut path would open something else.
int OpenWithShell(const std::string& file, const std::string& parameters, const std::string& folder, int show);

// With critical-error boxes off for the test, so a drive without a medium answers false.
bool FileThere(const std::string& path);
bool FolderThere(const std::string& path);

// The desktop itself for the desktop's list, else the bound folder; null when it cannot be
// bound or the list is damaged. The caller releases it.
IShellFolder* FolderOfItemList(LPCITEMIDLIST list);
// size -1 and date -1.0 for anything unknown; date in days since 30 December 1899.
void FileInfoOfItem(LPCITEMIDLIST list, std::int64_t& size, double& date);

// The user's decimal separator, for SizeToText.
char LocaleDecimalSeparator();

}  // namespace vt
