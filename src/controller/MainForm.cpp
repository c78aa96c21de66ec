#include "controller/MainForm.h"

#include <cstring>
#include <vector>

#include "controller/AppGlobals.h"
#include "controller/AutoRun.h"
#include "controller/ConfigIni.h"
#include "controller/GdiCensus.h"
#include "protocol/CopyData.h"
#include "protocol/Slots.h"
#include "settings/Product.h"
#include "controller/Win32RunEntry.h"
#include "protocol/IgnoreList.h"
#include "protocol/Messages.h"
#include "panel/HotFolderStartup.h"
#include "settings/Catalogue.h"
#include "util/HtmlHelp.h"
#include "util/FrameMetrics.h"
#include "util/ShellOpen.h"
#include "protocol/Handle32.h"

namespace vt {

namespace {

constexpr char kCannotLoadHooks[] = "Cannot load VT_brow.dll!";
constexpr char kCannotQuit[] =
    "Vantrel can't quit becasuse some Vantrel windows are still open. Please close these windows "
    "before closing Vantrel.";
constexpr char kPanelsClosed[] =
    "All opened Vantrel's windows has been closed because Windows settings has been changed.";
constexpr char kWebSite[] = "http://www.brisvane.com/vantrel/";
constexpr UINT_PTR kWatchTimer = 1;  // tmwatch
constexpr UINT kWatchInterval = 500;

// No arguments and a one-byte Boolean result, which nothing here examines.
using HookExport = unsigned char (*)();

bool WindowAlive(std::uint32_t window) { return IsWindow(FromHandle32<HWND>(window)) != 0; }

void CallHookExport(HMODULE library, const char* name) {
  if (!library) return;
  // A library without the export is run on without hooks, as when installing them fails.
  if (auto fn = reinterpret_cast<HookExport>(reinterpret_cast<void*>(GetProcAddress(library, name)))) fn();
}

// The block stamped at every message this thread's windows handle (0 is kept for "not yet").
SharedBlock* g_stamped = nullptr;
void StampAtEveryMessage() {
  if (!g_stamped) return;
  const DWORD now = GetTickCount();
  *static_cast<volatile std::uint32_t*>(&g_stamped->ControllerStamp) = now ? now : 1;
}

}  // namespace

std::unique_ptr<TVantrel> TVantrel::Create(HINSTANCE instance) {
  std::unique_ptr<TVantrel> form(new TVantrel(instance));
  if (!form->CreateWindowOfForm()) return nullptr;
  if (!form->FormCreate()) return nullptr;  // the destructor takes the window and the block away
  return form;
}

TVantrel::~TVantrel() { FormClose(); }

bool TVantrel::CreateWindowOfForm() {
  if (!RegisterWindowClass(kControllerClass, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                           LoadIconA(instance_, "MAINICON")))
    return false;
  return CreateWindowOf(0, kControllerClass, "", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                        kFormWidth, kFormHeight, nullptr, nullptr);
}

// The order matters: the block is filled before the hook library is loaded, so no hook
// instance ever sees it half made; autorun and first run come only once hooks are in place.
bool TVantrel::FormCreate() {
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  LoadHtmlHelp();
  gdiCensus_ = GdiCensusMessage();
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
    TVTReplacer::RegisterWindowClass();
    PanelEnvironment env;
    env.controller = Handle();
    env.registry = &reg;
    env.programFolder = folder;
    env.debugMode = DebugSettings().debugMode;
    env.request = [this](PanelRequest request) { PanelRequested(request); };
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

  SetWindowLongA(Handle(), GWL_EXSTYLE, GetWindowLongA(Handle(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
  SetWindowTextA(Handle(), ProductCaption().c_str());
  SetWindowPos(Handle(), nullptr, GetSystemMetrics(SM_CXSCREEN) - kFormWidth,
               GetSystemMetrics(SM_CYSCREEN) - kFormHeight, kFormWidth, kFormHeight,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  // The heartbeat for the hook instances: every message this thread's windows handle (the
  // watch timer's among them) stamps the block; while the thread is stuck the stamp ages and
  // no program waits on us.
  if (shared_.get()) {
    g_stamped = shared_.get();
    Window::SetHeartbeat(StampAtEveryMessage);
    StampAtEveryMessage();
  }
  SetTimer(Handle(), kWatchTimer, kWatchInterval, nullptr);
  TrayCommands commands;
  commands.startupOptions = [this] { ShowStartupOptions(); };
  commands.help = [this] { ShowHelp(); };
  commands.about = [this] { ShowAbout(); };
  commands.exit = [this] { PostMessageA(Handle(), WM_CLOSE, 0, 0); };  // through the close query
  tray_ = std::make_unique<TrayMenus>(Handle(), instance_, reg, std::move(commands));
  return true;
}

void TVantrel::tmwatchTimer() {
  if (DebugSettings().debugMode && !IsWindowVisible(Handle())) ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  if (dispatcher_ && dispatcher_->WatchTick())
    MessageBoxA(Handle(), kPanelsClosed, kApplicationTitle, MB_OK | MB_ICONINFORMATION);
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

void TVantrel::OpenSupportMail() { OpenWithShell(std::string("mailto:") + kSupportAddress, "", "", SW_SHOWNORMAL); }

bool TVantrel::CloseQuery() {
  const SharedBlock* block = shared_.get();
  if (!block || !AnyPanelOpen(*block, WindowAlive)) return true;
  // One refusal at a time: a second Exit while it shows changes nothing.
  if (refusing_) return false;
  refusing_ = true;
  MessageBoxA(Handle(), kCannotQuit, kApplicationTitle, MB_OK | MB_ICONWARNING);
  refusing_ = false;
  return false;
}

void TVantrel::FormClose() {
  if (closed_) return;
  closed_ = true;
  if (Handle()) KillTimer(Handle(), kWatchTimer);
  tray_.reset();
  // Panels go before the block their slots live in.
  dispatcher_.reset();
  Window::SetHeartbeat(nullptr);
  g_stamped = nullptr;
  shared_.Close();
  // The library stays loaded: hook procedures may still be running in this process.
  CallHookExport(hookLibrary_, "RemoveHook");
  runningPrograms_.Clear();
}

void TVantrel::CopyData(HWND window, const COPYDATASTRUCT* data) {
  if (!data) return;
  const CopyDataView cd{static_cast<std::uint32_t>(data->dwData), data->lpData, data->cbData};
  if (const auto name = DecodeProgramName(cd)) {
    if (dispatcher_) dispatcher_->Attach(window, *name);
  } else if (const auto path = DecodeProgramPath(cd)) {
    runningPrograms_.AddReported(*path, ownProgramPath_);
  }
}

LRESULT TVantrel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (gdiCensus_ && msg == gdiCensus_)
    return wParam == kCensusHeapKb ? static_cast<LRESULT>(HeapKbInUse()) : GdiObjectCount();
  if (tray_ && tray_->HandleMessage(msg, wParam, lParam)) return 0;
  if (tray_ && taskbarCreated_ && msg == taskbarCreated_) tray_->TaskbarCreated();
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
    case VTM_ATTACHLATER:
      if (dispatcher_) dispatcher_->AttachLater();
      return 0;
    case WM_CLOSE:
      if (CloseQuery()) DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      FormClose();
      PostQuitMessage(0);
      return 0;
  }
  return Default(msg, wParam, lParam);
}

}  // namespace vt
