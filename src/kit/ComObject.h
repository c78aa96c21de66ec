// The reference counting and interface query of a COM object that the program implements
// itself and hands to the system (drop target, data object, drop source): one interface each.
#pragma once
#include <windows.h>
#include <ole2.h>

namespace vt {

template <typename I, const IID* Iid>
class ComObject : public I {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, *Iid)) {
      *out = static_cast<I*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;

 private:
  LONG refs_ = 1;  // the creator's reference
};

}  // namespace vt
