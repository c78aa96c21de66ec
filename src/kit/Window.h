// The one base of every window class of the program: the thunk that finds the object behind
// a window, a barrier that keeps exceptions out of the system's frames, deletion that waits
// until no handler of the window is on the stack (handlers may pump messages), and a private
// key for the messages a window posts to itself.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

namespace vt {

class Window {
 public:
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return handle_; }

  // Frees the window object now, or, when one of its handlers is still running further up
  // the stack, as soon as the last of them returns.
  static void Retire(std::unique_ptr<Window> window);

  // Any program can post any number to any window: messages a window sends itself carry its
  // key in lParam, a value that is never published, and a post without it is ignored.
  bool PostToSelf(UINT msg, WPARAM wParam) const;
  bool IsOwnPost(LPARAM lParam) const { return static_cast<std::uint32_t>(lParam) == key_; }
  // The same for a window known only by its handle (a callback's data): false unless it is a
  // live window of this base in this process.
  static bool PostToWindowOf(HWND window, UINT msg, WPARAM wParam);

  // The message loop's step, shared by the main loop and every nested pump: a WM_TIMER with
  // a callback address is a forged one (the program sets no timer callbacks) and is dropped.
  static void DispatchSafely(MSG& msg);
  // Called before every message one of these windows handles, sent or posted, in any loop:
  // the resident program's proof of life for other programs (a busy thread may go without
  // timer messages for seconds, yet answers every message it is sent).
  static void SetHeartbeat(void (*beat)());

 protected:
  Window();
  static bool RegisterWindowClass(const char* name, UINT style, HBRUSH background, HICON icon = nullptr);
  // Creates the window with this object behind it; false when creation failed.
  bool CreateWindowOf(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                      int width, int height, HWND parent, HMENU menu);
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  // Tab, Enter and Esc move between and press the window's controls as in a dialog box: the
  // message loop gives its key messages to IsDialogMessage. Enter presses the control whose
  // id DM_GETDEFID names.
  void UseDialogKeys() { dialogKeys_ = true; }
  // Destroys the window without another message reaching the object; for destructors of
  // windows whose members (child windows among them) must outlive the window.
  void DestroyQuietly();
  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcA(handle_, msg, wParam, lParam); }

 private:
  static LRESULT CALLBACK Thunk(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
  int depth_ = 0;
  bool dialogKeys_ = false;
  std::uint32_t key_;
  std::unique_ptr<Window> retired_;  // holds the object itself once freed while busy
};

}  // namespace vt
