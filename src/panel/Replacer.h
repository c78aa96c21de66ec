// The companion panel: a top-level window owned by one file dialog, framing it so that the
// dialog's client area shows through the hole `pndlg` and the two move as one window.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "hooklib/SharedBlock.h"
#include "kit/DockLayout.h"
#include "panel/Geometry.h"
#include "settings/QRegistry.h"

namespace vt {

// What the controller lends every panel.
struct PanelEnvironment {
  HWND controller = nullptr;       // receives VTM_RELEASEPANEL
  TQRegistry* registry = nullptr;  // AppRegistry
  std::string programFolder;       // with its trailing backslash
  bool debugMode = false;
};

inline constexpr char kPanelClass[] = "TVTReplacer";

class TVTReplacer {
 public:
  static bool RegisterWindowClass(HINSTANCE instance);

  // Creates the panel's window (State 0) with the slot's dialog as owner window.
  TVTReplacer(const PanelEnvironment& env, DialogSlot& slot, const std::string& appName);
  ~TVTReplacer();
  TVTReplacer(const TVTReplacer&) = delete;
  TVTReplacer& operator=(const TVTReplacer&) = delete;

  HWND Handle() const { return Wnd; }
  HWND Dialog() const { return DialogWnd; }
  // Shows the panel and attaches it around the dialog.
  void Show();
  // The panel's last window rectangle, for the repaint after its release.
  RECT LastBounds() const { return LastRect; }
  // True while one of the panel's handlers is running (it may pump messages); the
  // controller then leaves the freeing to the panel.
  bool Busy() const { return Depth > 0; }
  void FreeWhenIdle() { DeletePending = true; }

  void NavigateToFolder(std::string path);
  void NavigateToLink(const std::string& linkPath);

 private:
  static LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(Wnd, msg, wp, lp); }

  // Form and layout.
  void CreateComponents();
  void LayoutComponents();
  void PlaceBox(BoxId box, HWND window);
  void OnSplitDone(HWND splitter, LONG delta);
  void OnHoleResized();
  void CreateMenuBar();

  // Attach and settings.
  void AdoptDialog();
  void LocateDialogControls();
  void LocateFolderView();
  void LoadSettings();
  void SaveSettings();
  void OnCopyData(const COPYDATASTRUCT* cds);
  void CloseQuery();
  void ClosePanel();

  // Geometry.
  PanelFrame CurrentFrame();
  Rect HoleOnScreen() const;
  void MoveDialogWithPanel(const WINDOWPOS& pos);
  void FollowDialog(const WINDOWPOS& pos);
  void RepaintAfterMove(UINT which, WPARAM block);
  void UpdateWindowRegion();
  void UpdateDialogMaxSize(const Rect* target = nullptr);
  LRESULT OnSysCommand(WPARAM wp, LPARAM lp);
  int CaptionButtonUnderCursor() const;
  void Resynchronise();
  void RepaintFrame();
  void OnNcPaint(WPARAM wp);

  // Navigation and folder tracking.
  void NavigationWait(WPARAM mode);
  void ScanFolder();
  void OpenStartFolder();
  std::string FileNameText() const;
  void ReleaseLists();

  PanelEnvironment Env;
  DialogSlot& Slot;
  std::string AppName;
  HWND Wnd = nullptr;
  HWND DialogWnd = nullptr;
  bool Closing = false;
  bool Released = false;
  BOOL SavedDragFullWindows = TRUE;
  int PressedButton = 0, HoverButton = 0;
  RECT NormalBounds{};  // left, top, right, bottom
  RECT LastRect{};
  HWND FileNameEdit = nullptr, FolderView = nullptr, FileList = nullptr;
  int OptionsPage = 0;
  int OpMode = 1;
  bool ViewBMP = true, ViewJPG = true, ViewGIF = true;
  LPITEMIDLIST DesktopIdList = nullptr, CurrentFolder = nullptr, SelectedItem = nullptr, ReplyIdList = nullptr;
  std::string SavedEditText, TargetItemName;
  HWND ViewBeforeNavigation = nullptr;
  int WaitCount = 0;
  int Depth = 0;
  bool DeletePending = false;

  // Components and their boxes in the docking layout.
  DockLayout Layout;
  BoxId bxLeft = kNoBox, bxUp = kNoBox, bxDown = kNoBox, bxSplitLeft = kNoBox, bxCenter = kNoBox,
        bxDlg = kNoBox, bxSplitRight = kNoBox, bxRight = kNoBox, bxPreview = kNoBox, bxInfo = kNoBox,
        bxStatus = kNoBox;
  HWND pnLeft = nullptr, pnUp = nullptr, pnDown = nullptr, sbUp = nullptr, sbDown = nullptr, Hot = nullptr;
  HWND splitleft = nullptr, pncenter = nullptr, pndlg = nullptr, splitright = nullptr, pnRight = nullptr;
  HWND pnPreview = nullptr, pnInfo = nullptr, stbar = nullptr;
  HWND lbpname = nullptr, lbptype = nullptr, lbpmod = nullptr, lbpsize = nullptr, lbprect = nullptr;
  HMENU mmenu = nullptr;
  HFONT FormFont = nullptr, BoldFont = nullptr;
  Rect HoleInWindow;  // last hole rectangle relative to the window, for the region
};

}  // namespace vt
