// TestVT: shows one small dialog whose button opens a standard Open dialog, so that a user
// can watch a companion panel attach to it, and a second button for the common item dialog
// that today's programs show. Bare Win32, nothing else of the system.
// The item dialog's interfaces are declared for Vista and later only.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#undef NTDDI_VERSION
#define NTDDI_VERSION 0x06000000
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <cstddef>

#include "TestVTIds.h"

namespace {

constexpr char kClassName[] = "Test Vantrel";
constexpr int kPathChars = 1000;

// The pre-Windows 2000 record, the size every version of comdlg32 accepts: everything before
// pvReserved, 76 bytes in the 32-bit build (its pointers make it larger in the 64-bit one).
constexpr DWORD kOpenFileNameSize = offsetof(OPENFILENAMEA, pvReserved);
static_assert(sizeof(void*) != 4 || kOpenFileNameSize == 76);

// The chosen file is opened by its program, in the file's own folder.
void OpenChosen(const char* file) {
  char folder[kPathChars] = "";
  int cut = -1;
  for (int i = 0; i < kPathChars && file[i]; ++i)
    if (file[i] == '\\') cut = i;
  for (int i = 0; i <= cut; ++i) folder[i] = file[i];
  folder[cut + 1] = '\0';
  ShellExecuteA(nullptr, "open", file, nullptr, folder[0] ? folder : nullptr, SW_SHOWNORMAL);
}

void ShowItemDialog(HWND owner) {
  IFileOpenDialog* dialog = nullptr;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                              reinterpret_cast<void**>(&dialog))))
    return;
  IShellItem* chosen = nullptr;
  wchar_t* path = nullptr;
  if (SUCCEEDED(dialog->Show(owner)) && SUCCEEDED(dialog->GetResult(&chosen)) &&
      SUCCEEDED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
    char file[kPathChars] = "";
    if (WideCharToMultiByte(CP_ACP, 0, path, -1, file, kPathChars, nullptr, nullptr)) OpenChosen(file);
  }
  CoTaskMemFree(path);
  if (chosen) chosen->Release();
  dialog->Release();
}

void ShowOpenDialog(HWND owner) {
  static const char kFilter[] = "All Files (*.*)\0*.*\0";  // the literal adds the final NUL
  char file[kPathChars] = "";
  char title[kPathChars] = "";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = kOpenFileNameSize;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = file;
  ofn.nMaxFile = kPathChars;
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = kPathChars;
  ofn.lpstrInitialDir = "";  // the current folder
  ofn.lpstrTitle = "Open File";
  ofn.Flags = OFN_EXPLORER | OFN_CREATEPROMPT | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&ofn)) return;  // cancelled or failed: nothing to open
  OpenChosen(file);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG: {
      RECT r;
      GetWindowRect(dialog, &r);
      int w = r.right - r.left;
      int h = r.bottom - r.top;
      int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
      int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
      SetWindowPos(dialog, nullptr, x, y, w, h, SWP_SHOWWINDOW);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDCANCEL:  // the close box
          PostQuitMessage(0);
          break;
        case IDC_OPEN_DIALOG:
          ShowOpenDialog(dialog);
          break;
        case IDC_OPEN_ITEM_DIALOG:
          ShowItemDialog(dialog);
          break;
      }
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, "MAINICON");
  wc.lpszClassName = kClassName;
  if (!RegisterClassA(&wc)) return 255;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // for the item dialog

  // A hidden window that only owns the dialog.
  HWND owner = CreateWindowA(kClassName, kClassName, 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  ShowWindow(owner, SW_HIDE);

  HWND dialog = CreateDialogParamA(instance, "DIALOG_1", owner, DialogProc, 0);
  // Without the dialog nothing could ever end the loop: the process would linger unseen.
  if (!dialog) return 1;

  // No IsDialogMessage: the dialog has no keyboard navigation, and Escape does not close it.
  // A failing GetMessageA (-1) ends the loop too instead of spinning on it.
  MSG m{};
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return static_cast<int>(m.wParam);
}
