#include "kit/ShellDragSource.h"

#include <cstring>
#include <vector>

#include "kit/ComObject.h"
#include "kit/ShellIdArray.h"
#include "util/Handles.h"
#include "util/IdList.h"

namespace vt {

namespace {

CLIPFORMAT ShellIdListFormat() {
  return static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Shell IDList Array"));
}

bool Offered(const FORMATETC* f) {
  return f && f->cfFormat == ShellIdListFormat() && (f->tymed & TYMED_HGLOBAL) && f->dwAspect == DVASPECT_CONTENT;
}

class DataObject final : public ComObject<IDataObject, &IID_IDataObject> {
 public:
  explicit DataObject(std::vector<std::uint8_t> block) : block_(std::move(block)) {}

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* medium) override {
    if (!medium) return E_INVALIDARG;
    if (!Offered(f)) return DV_E_FORMATETC;
    UniqueGlobal h(GlobalAlloc(GMEM_MOVEABLE, block_.size()));
    if (!h) return E_OUTOFMEMORY;
    {
      const GlobalLocked p(h.get());
      if (!p) return E_OUTOFMEMORY;
      std::memcpy(p.get(), block_.data(), block_.size());
    }
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = h.release();  // the caller releases the medium
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override { return Offered(f) ? S_OK : DV_E_FORMATETC; }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
  }
  // Targets tell the source what they did; nothing here needs to know.
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC f{ShellIdListFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return SHCreateStdEnumFmtEtc(1, &f, out);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  std::vector<std::uint8_t> block_;
};

class DropSource final : public ComObject<IDropSource, &IID_IDropSource> {
 public:
  explicit DropSource(DWORD button) : button_(button) {}
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (escape) return DRAGDROP_S_CANCEL;
    return (keys & button_) ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  DWORD button_;
};

}  // namespace

DWORD RunShellDrag(LPCITEMIDLIST root, LPCITEMIDLIST item, DWORD effects, DWORD button) {
  const IdListBytes rootBytes = ItemListBytes(root), itemBytes = ItemListBytes(item);
  std::vector<std::uint8_t> block = MakeShellIdArray(rootBytes, {itemBytes});
  if (rootBytes.empty() || itemBytes.empty() || block.empty()) return DROPEFFECT_NONE;
  const ComPtr<IDataObject> data(new DataObject(std::move(block)));
  const ComPtr<IDropSource> source(new DropSource(button == MK_RBUTTON ? MK_RBUTTON : MK_LBUTTON));
  DWORD effect = DROPEFFECT_NONE;
  if (DoDragDrop(data.get(), source.get(), effects, &effect) != DRAGDROP_S_DROP) effect = DROPEFFECT_NONE;
  return effect;
}

}  // namespace vt
