#include "kit/Window.h"

#include <ntsecapi.h>

namespace vt {

namespace {

std::uint32_t NewKey(const void* object) {
  std::uint32_t key = 0;
  if (!RtlGenRandom(&key, sizeof key)) {
    // Without the system's generator: the counter, the clock and the address mixed.
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    key = static_cast<std::uint32_t>(now.QuadPart) * 2654435761u ^ GetTickCount() ^
          static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(object));
  }
  // 0 and 1 are what a careless or hostile post most often carries.
  return key > 1 ? key : key + 0x5A17;
}

}  // namespace

Window::Window() : key_(NewKey(this)) {}

Window::~Window() { DestroyQuietly(); }

void Window::DestroyQuietly() {
  if (HWND window = handle_) {
    // Messages sent while the window goes must not reach this half-destroyed object.
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    handle_ = nullptr;
    DestroyWindow(window);
  }
}

void Window::Retire(std::unique_ptr<Window> window) {
  if (!window) return;
  Window* raw = window.get();
  if (raw->depth_ > 0) raw->retired_ = std::move(window);
}

bool Window::PostToSelf(UINT msg, WPARAM wParam) const {
  return handle_ && PostMessageA(handle_, msg, wParam, static_cast<LPARAM>(key_)) != FALSE;
}

bool Window::PostToWindowOf(HWND window, UINT msg, WPARAM wParam) {
  DWORD pid = 0;
  if (!window || !GetWindowThreadProcessId(window, &pid) || pid != GetCurrentProcessId()) return false;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) != Thunk) return false;
  const Window* w = reinterpret_cast<const Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  return w && w->PostToSelf(msg, wParam);
}

void Window::DispatchSafely(MSG& msg) {
  if (msg.message == WM_TIMER && msg.lParam != 0) return;
  // Controls send these with pointers to their records; a posted one is always forged.
  if (msg.message == WM_NOTIFY || msg.message == WM_DRAWITEM || msg.message == WM_MEASUREITEM) return;
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd) {
    // Only windows of this base are looked at: their user data is known to be the object.
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (root && reinterpret_cast<WNDPROC>(GetWindowLongPtrA(root, GWLP_WNDPROC)) == Thunk) {
      const Window* w = reinterpret_cast<const Window*>(GetWindowLongPtrA(root, GWLP_USERDATA));
      if (w && w->dialogKeys_ && IsDialogMessageA(root, &msg)) return;
    }
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

bool Window::RegisterWindowClass(const char* name, UINT style, HBRUSH background, HICON icon) {
  WNDCLASSA c{};
  c.style = style;
  c.lpfnWndProc = Thunk;
  c.hInstance = GetModuleHandleA(nullptr);
  c.hIcon = icon;
  c.hCursor = LoadCursor(nullptr, IDC_ARROW);
  c.hbrBackground = background;
  c.lpszClassName = name;
  return RegisterClassA(&c) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool Window::CreateWindowOf(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu) {
  CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu, GetModuleHandleA(nullptr),
                  this);
  return handle_ != nullptr;
}

namespace {
void (*g_heartbeat)() = nullptr;
}  // namespace

void Window::SetHeartbeat(void (*beat)()) { g_heartbeat = beat; }

LRESULT CALLBACK Window::Thunk(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (g_heartbeat) g_heartbeat();
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    if (self) {
      self->handle_ = window;
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(window, msg, wParam, lParam);

  ++self->depth_;
  LRESULT result = 0;
  try {
    result = self->HandleMessage(msg, wParam, lParam);
  } catch (...) {
    // Nothing may unwind through the system's frames; the message counts as handled.
    result = 0;
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
  }
  if (--self->depth_ == 0 && self->retired_) {
    std::unique_ptr<Window> doomed = std::move(self->retired_);  // the object goes here
  }
  return result;
}

}  // namespace vt
