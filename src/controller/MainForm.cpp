#include "controller/MainForm.h"

#include <cstring>
#include <vector>

#include "controller/AppGlobals.h"
#include "controller/AutoRun.h"
#include "controller/ConfigIni.h"
#include "controller/CopyDataText.h"
#include "controller/PanelSlots.h"
#include "controller/Product.h"
#include "controller/Win32RunEntry.h"
#include "hooklib/IgnoreList.h"
#include "hooklib/Protocol.h"
#include "panel/HotFolderStartup.h"
#include "settings/Catalogue.h"
#include "util/UtilsExe.h"

namespace vt {

TVantrel* Vantrel = nullptr;

namespace {

constexpr char kCannotLoadHooks[] = "Cannot load VT_brow.dll!";
constexpr char kCannotQuit[] =
    "Vantrel can't quit becasuse some Vantrel windows are still open. Please close these windows "
    "before closing Vantrel.";
constexpr char kPanelsClosed[] =
    "All opened Vantrel's windows has been closed because Windows settings has been changed.";
constexpr char kWebSite[] = "http://www.brisvane.com/vantrel/";
constexpr char kSupportMail[] = "mailto:vantrel-support@brisvane.com";
constexpr UINT_PTR kWatchTimer = 1;  // tmwatch
constexpr UINT kWatchInterval = 500;

// No arguments and a one-byte Boolean result, which nothing here examines.
using HookExport = unsigned char (*)();

HWND AsWindow(std::uint32_t window) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(window)); }

bool WindowAlive(std::uint32_t window) { return IsWindow(AsWindow(window)) != 0; }

void CallHookExport(HMODULE library, const char* name) {
  if (!library) return;
  // A library without the export is run on without hooks, as when installing them fails.
  if (auto fn = reinterpret_cast<HookExport>(reinterpret_cast<void*>(GetProcAddress(library, name)))) fn();
}

}  // namespace

std::unique_ptr<TVantrel> TVantrel::Create(HINSTANCE instance) {
  std::unique_ptr<TVantrel> form(new TVantrel(instance));
  if (!form->CreateWindowOfForm()) return nullptr;
  Vantrel = form.get();
  if (!form->FormCreate()) {
    Vantrel = nullptr;
    return nullptr;  // the destructor takes the window and the block away
  }
  return form;
}

TVantrel::~TVantrel() {
  FormClose();
  if (handle_) {
    HWND window = handle_;
    handle_ = nullptr;
    DestroyWindow(window);
  }
  if (Vantrel == this) Vantrel = nullptr;
}

bool TVantrel::CreateWindowOfForm() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance_;
  wc.hIcon = LoadIconA(instance_, "MAINICON");
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kControllerClass;
  if (!RegisterClassA(&wc)) return false;
  handle_ = CreateWindowExA(0, kControllerClass, "", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                            0, 0, kFormWidth, kFormHeight, nullptr, nullptr, instance_, this);
  return handle_ != nullptr;
}

// The order matters: the block is filled before the hook library is loaded, so no hook
// instance ever sees it half made; autorun and first run come only once hooks are in place.
bool TVantrel::FormCreate() {
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  const std::string& folder = ProgramFolder();
  ownProgramPath_ = OwnProgramPath();
  TQRegistry& reg = AppRegistry();

  const std::string ini = folder + kConfigFileName;
  DebugSettings() = ReadDebugSettings(ini);
  SetShowDlgBorder(DebugSettings().showDlgBorder);
  WriteVersion(ini);

  if (SharedBlock* block = shared_.Create()) {
    block->ShowErrors = DebugSettings().showErrors ? 1 : 0;
    block->NoAttachVTR = DebugSettings().noAttachVTR ? 1 : 0;
    SetSharedVars(block);
    TVTReplacer::RegisterWindowClass(instance_);
    PanelEnvironment env;
    env.controller = handle_;
    env.registry = &reg;
    env.programFolder = folder;
    env.debugMode = DebugSettings().debugMode;
    dispatcher_ = std::make_unique<PanelDispatcher>(*block, env);
  }
  ReloadIgnoreList();
  CleanLinksFolder(reg, folder);

  // Only ever from our own folder: without it, a bare name would be looked up along the path.
  if (!folder.empty()) hookLibrary_ = LoadLibraryA((folder + kHookLibraryName).c_str());
  if (!hookLibrary_) {
    MessageBoxA(nullptr, kCannotLoadHooks, kApplicationTitle, MB_OK | MB_ICONERROR);
    return false;
  }
  CallHookExport(hookLibrary_, "SetHook");

  Win32RunEntry run;
  ApplyAutoRunAtStart(reg, run, folder);

  if (!HasNoFirstRun(reg)) {
    WriteNoFirstRun(reg);
    AddDefaultHotFolders(reg);
    OpenWithShell(folder + kTestProgramName, "", folder, SW_SHOWNORMAL);
  }
  runningPrograms_.Clear();

  SetWindowLongA(handle_, GWL_EXSTYLE, GetWindowLongA(handle_, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
  SetWindowTextA(handle_, ProductCaption().c_str());
  SetWindowPos(handle_, nullptr, GetSystemMetrics(SM_CXSCREEN) - kFormWidth,
               GetSystemMetrics(SM_CYSCREEN) - kFormHeight, kFormWidth, kFormHeight,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  SetTimer(handle_, kWatchTimer, kWatchInterval, nullptr);
  return true;
}

void TVantrel::tmwatchTimer() {
  if (DebugSettings().debugMode && !IsWindowVisible(handle_)) ShowWindow(handle_, SW_SHOWNOACTIVATE);
  if (dispatcher_ && dispatcher_->WatchTick())
    MessageBoxA(handle_, kPanelsClosed, kApplicationTitle, MB_OK | MB_ICONINFORMATION);
}

void TVantrel::ReloadIgnoreList() {
  SharedBlock* block = shared_.get();
  if (!block) return;
  PutIgnoreList(*block, ReadIgnoreNames(AppRegistry()), AnsiUpperCase);
}

void TVantrel::SetAutoRun(bool on) {
  Win32RunEntry run;
  vt::SetAutoRun(AppRegistry(), run, ProgramFolder(), on);
}

void TVantrel::OpenWebSite() { OpenWithShell(kWebSite, "", "", SW_SHOWNORMAL); }

void TVantrel::OpenSupportMail() { OpenWithShell(kSupportMail, "", "", SW_SHOWNORMAL); }

bool TVantrel::CloseQuery() {
  const SharedBlock* block = shared_.get();
  if (!block || !AnyPanelOpen(*block, WindowAlive)) return true;
  // One refusal at a time: a second Exit while it shows changes nothing.
  if (refusing_) return false;
  refusing_ = true;
  MessageBoxA(handle_, kCannotQuit, kApplicationTitle, MB_OK | MB_ICONWARNING);
  refusing_ = false;
  return false;
}

void TVantrel::FormClose() {
  if (closed_) return;
  closed_ = true;
  if (handle_) KillTimer(handle_, kWatchTimer);
  // Panels go before the block their slots live in.
  dispatcher_.reset();
  SetSharedVars(nullptr);
  shared_.Close();
  // The library stays loaded: hook procedures may still be running in this process.
  CallHookExport(hookLibrary_, "RemoveHook");
  runningPrograms_.Clear();
}

// window: the dialog for an attach, the queried window for a program report.
void TVantrel::CopyData(HWND window, const COPYDATASTRUCT* data) {
  if (!data) return;
  std::optional<std::string_view> text = CopyDataText(data->lpData, data->cbData);
  if (!text) return;  // no terminated text inside the bytes sent: not one of ours
  switch (data->dwData) {
    case VTCD_ATTACH:
      if (dispatcher_) dispatcher_->Attach(window, text->data(), static_cast<DWORD>(text->size() + 1));
      break;
    case VTCD_PROGRAM:
      runningPrograms_.AddReported(*text, ownProgramPath_);
      break;
    default:
      break;
  }
}

LRESULT CALLBACK TVantrel::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<TVantrel*>(create->lpCreateParams)->handle_ = window;
  }
  auto* form = reinterpret_cast<TVantrel*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  if (!form) return DefWindowProcA(window, msg, wParam, lParam);
  // Nothing may unwind through the system's frames.
  try {
    return form->Dispatch(window, msg, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT TVantrel::Dispatch(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COPYDATA:
      CopyData(reinterpret_cast<HWND>(wParam), reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      return 0;
    case VTM_IDENTIFY:
      return kIdentifyAnswer;
    case WM_TIMER:
      if (wParam == kWatchTimer) tmwatchTimer();
      return 0;
    case VTM_RELEASEPANEL:
      if (dispatcher_) dispatcher_->Release(wParam);
      return 0;
    case WM_CLOSE:
      if (CloseQuery()) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      FormClose();
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      handle_ = nullptr;
      break;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace vt
