// Owners for every kind of handle the resident program holds: one move-only template, given
// the close function and the value that means "none". Nothing is closed by hand elsewhere.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <utility>

#include "util/ShellIdList.h"

namespace vt {

template <typename H, typename Traits>
class UniqueAny {
 public:
  UniqueAny() = default;
  explicit UniqueAny(H h) : h_(h) {}
  ~UniqueAny() { reset(); }
  UniqueAny(UniqueAny&& o) noexcept : h_(o.release()) {}
  UniqueAny& operator=(UniqueAny&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;

  H get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Invalid(); }
  void reset(H h = Traits::Invalid()) {
    if (h_ != Traits::Invalid()) Traits::Close(h_);
    h_ = h;
  }
  [[nodiscard]] H release() { return std::exchange(h_, Traits::Invalid()); }
  // For functions that return a handle through a pointer: the old one is closed first.
  H* put() {
    reset();
    return &h_;
  }

 private:
  H h_ = Traits::Invalid();
};

template <typename H, auto CloseFn>
struct NullHandleTraits {
  static H Invalid() { return nullptr; }
  static void Close(H h) { CloseFn(h); }
};

// The predefined roots (HKEY_CLASSES_ROOT 0x80000000 to 0x800000FF) are sign-extended 32-bit
// values in a 64-bit build: compared as 32-bit numbers only when widening gives them back.
inline bool IsPredefinedKey(HKEY h) {
  const auto bits = reinterpret_cast<INT_PTR>(h);
  const auto low = static_cast<std::int32_t>(bits);
  return bits == low && static_cast<std::uint32_t>(low) >= 0x80000000u && static_cast<std::uint32_t>(low) <= 0x800000FFu;
}

namespace handle_detail {
inline void DeleteGdi(HGDIOBJ h) { DeleteObject(h); }
inline void CloseKey(HKEY h) {
  if (!IsPredefinedKey(h)) RegCloseKey(h);  // the roots are not ours to close
}
inline void CloseKernel(HANDLE h) { CloseHandle(h); }
inline void DestroyMenuHandle(HMENU h) { DestroyMenu(h); }
inline void DeleteMemoryDc(HDC h) { DeleteDC(h); }
inline void UnmapView(void* p) { UnmapViewOfFile(p); }
inline void DestroyIconHandle(HICON h) { DestroyIcon(h); }
inline void FreeGlobal(HGLOBAL h) { GlobalFree(h); }
struct InvalidHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};
}  // namespace handle_detail

template <typename T>
using UniqueGdi = UniqueAny<T, NullHandleTraits<T, handle_detail::DeleteGdi>>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueRegion = UniqueGdi<HRGN>;
using UniqueKey = UniqueAny<HKEY, NullHandleTraits<HKEY, handle_detail::CloseKey>>;
using UniqueFind = UniqueAny<HANDLE, handle_detail::InvalidHandleTraits>;
using UniqueKernelHandle = UniqueAny<HANDLE, NullHandleTraits<HANDLE, handle_detail::CloseKernel>>;
using UniqueMenu = UniqueAny<HMENU, NullHandleTraits<HMENU, handle_detail::DestroyMenuHandle>>;
using UniqueMemoryDc = UniqueAny<HDC, NullHandleTraits<HDC, handle_detail::DeleteMemoryDc>>;
using UniqueView = UniqueAny<void*, NullHandleTraits<void*, handle_detail::UnmapView>>;
// Icons this program made or loaded unshared (never the shared ones of LoadIcon).
using UniqueIcon = UniqueAny<HICON, NullHandleTraits<HICON, handle_detail::DestroyIconHandle>>;
// Global memory this program allocated and has not handed on.
using UniqueGlobal = UniqueAny<HGLOBAL, NullHandleTraits<HGLOBAL, handle_detail::FreeGlobal>>;

// A global memory block locked for one scope; null when it cannot be locked.
class GlobalLocked {
 public:
  explicit GlobalLocked(HGLOBAL block) : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
  ~GlobalLocked() {
    if (data_) GlobalUnlock(block_);
  }
  GlobalLocked(const GlobalLocked&) = delete;
  GlobalLocked& operator=(const GlobalLocked&) = delete;
  void* get() const { return data_; }
  explicit operator bool() const { return data_ != nullptr; }

 private:
  HGLOBAL block_;
  void* data_;
};

// A storage medium a data object handed over, released once it has been read.
class ReceivedMedium {
 public:
  ReceivedMedium() = default;
  ~ReceivedMedium() { ReleaseStgMedium(&medium_); }
  ReceivedMedium(const ReceivedMedium&) = delete;
  ReceivedMedium& operator=(const ReceivedMedium&) = delete;
  // Asks the data object for the format; false, and nothing to release, when it gives none.
  bool Receive(IDataObject* data, FORMATETC* format) {
    if (data && SUCCEEDED(data->GetData(format, &medium_))) return true;
    medium_ = STGMEDIUM{};  // a failed call hands nothing over
    return false;
  }
  const STGMEDIUM& get() const { return medium_; }

 private:
  STGMEDIUM medium_{};  // TYMED_NULL: nothing to release
};

// Appends a pop-up menu to `menu` (flags besides MF_POPUP as given, text or item data as
// AppendMenuA takes them): the menu it joins owns it from then on, and one that could not be
// appended is destroyed here.
inline bool AppendPopup(HMENU menu, UINT flags, UniqueMenu popup, LPCSTR text) {
  if (!popup || !AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), text)) return false;
  (void)popup.release();
  return true;
}

// A window's device context, given back to the window it came from.
class WindowDc {
 public:
  explicit WindowDc(HWND window, bool wholeWindow = false)
      : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a context for one scope; the previous one comes back.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~Selected() {
    if (old_) SelectObject(dc_, old_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The least a COM pointer needs: one reference, released once.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(T* p) : p_(p) {}
  ~ComPtr() { reset(); }
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& o) noexcept {
    if (this != &o) {
      reset();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  T** put() {
    reset();
    return &p_;
  }
  // Hands the reference on to a caller who releases it.
  [[nodiscard]] T* release() { return std::exchange(p_, nullptr); }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  // QueryInterface into another owner; empty when the object lacks the interface.
  template <typename U>
  ComPtr<U> As(REFIID iid) const {
    ComPtr<U> out;
    if (p_ && FAILED(p_->QueryInterface(iid, out.put_void()))) out.reset();
    return out;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace vt
