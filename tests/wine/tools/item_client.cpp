// A program that shows the common item dialog, as today's programs do:
//   item_client [--save] [--folder DIR] [--file NAME] [--log FILE]
// --save shows IFileSaveDialog instead of IFileOpenDialog; --log appends "folder <parsing name>" for
// every OnFolderChange the dialog tells the program. It ends when the dialog closes, or after
// two minutes at most.
// The item dialog's interfaces are declared for Vista and later only.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#undef NTDDI_VERSION
#define NTDDI_VERSION 0x06000000
#undef _WIN32_IE
#define _WIN32_IE 0x0700
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string g_log;

VOID CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) { ExitProcess(3); }

std::wstring Wide(const std::string& s) {
  wchar_t w[MAX_PATH * 2] = {};
  MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, w, MAX_PATH * 2);
  return w;
}

class Events final : public IFileDialogEvents {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IFileDialogEvents) {
      *out = static_cast<IFileDialogEvents*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE OnFileOk(IFileDialog*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnFolderChanging(IFileDialog*, IShellItem*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnFolderChange(IFileDialog* dialog) override {
    IShellItem* folder = nullptr;
    wchar_t* path = nullptr;
    if (SUCCEEDED(dialog->GetFolder(&folder)) && folder && SUCCEEDED(folder->GetDisplayName(SIGDN_DESKTOPABSOLUTEPARSING, &path))) {
      char text[MAX_PATH * 2] = {};
      WideCharToMultiByte(CP_ACP, 0, path, -1, text, sizeof text, nullptr, nullptr);
      if (FILE* f = g_log.empty() ? nullptr : std::fopen(g_log.c_str(), "a")) {
        std::fprintf(f, "folder %s\n", text);
        std::fclose(f);
      }
      CoTaskMemFree(path);
    }
    if (folder) folder->Release();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnSelectionChange(IFileDialog*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShareViolation(IFileDialog*, IShellItem*, FDE_SHAREVIOLATION_RESPONSE*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnTypeChange(IFileDialog*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnOverwrite(IFileDialog*, IShellItem*, FDE_OVERWRITE_RESPONSE*) override { return S_OK; }
};

}  // namespace

int main(int argc, char** argv) {
  bool save = false;
  std::string folder, file;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--save")) save = true;
    else if (i + 1 < argc && !std::strcmp(argv[i], "--folder")) folder = argv[++i];
    else if (i + 1 < argc && !std::strcmp(argv[i], "--file")) file = argv[++i];
    else if (i + 1 < argc && !std::strcmp(argv[i], "--log")) g_log = argv[++i];
  }
  SetTimer(nullptr, 0, 120000, GiveUp);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IFileDialog* dialog = nullptr;
  if (FAILED(CoCreateInstance(save ? CLSID_FileSaveDialog : CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IFileDialog, reinterpret_cast<void**>(&dialog))))
    return 2;
  if (!folder.empty()) {
    IShellItem* start = nullptr;
    if (SUCCEEDED(SHCreateItemFromParsingName(Wide(folder).c_str(), nullptr, IID_IShellItem,
                                              reinterpret_cast<void**>(&start)))) {
      dialog->SetFolder(start);
      start->Release();
    }
  }
  if (!file.empty()) dialog->SetFileName(Wide(file).c_str());
  Events events;
  DWORD cookie = 0;
  dialog->Advise(&events, &cookie);
  const HRESULT shown = dialog->Show(nullptr);
  dialog->Unadvise(cookie);
  dialog->Release();
  CoUninitialize();
  return SUCCEEDED(shown) ? 0 : 1;
}
