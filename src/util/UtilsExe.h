// The resident program's small helpers (Windows build): shared-block access, the running-
// program broadcast, frame metrics, opening through the shell, existence tests that never show
// a system error box, and file facts of a shell item.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>
#include <vector>

#include "hooklib/SharedBlock.h"

namespace vt {

DialogSlot& SharedDialogSlot(SharedBlock& block, int index);  // index 0..9
void PutIgnoreListAnsi(SharedBlock& block, const std::vector<std::string>& names);  // locale upper case

void PingAllWindows();

// The Config.ini switch ShowDlgBorder, set once at start-up.
void SetShowDlgBorder(bool on);
bool GetFrameMetrics(int& frameWidth, int& frameHeight, int& captionHeight, bool force);

// ShellExecuteA "open"; texts longer than 256 characters are refused (result 0) rather than
// cut, since a cut path would open something else.
int OpenWithShell(const std::string& file, const std::string& parameters, const std::string& folder, int show);

bool FileThere(const std::string& path);
bool FolderThere(const std::string& path);

IShellFolder* FolderOfItemList(LPCITEMIDLIST list);
// size -1 and date -1.0 for anything unknown; date in days since 30 December 1899.
void FileInfoOfItem(LPCITEMIDLIST list, std::int64_t& size, double& date);

// The user's decimal separator, for SizeToText.
char LocaleDecimalSeparator();

}  // namespace vt
