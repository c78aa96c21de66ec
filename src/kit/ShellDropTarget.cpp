#include "kit/ShellDropTarget.h"

#include <cstring>

#include "kit/ComObject.h"
#include "util/Handles.h"

namespace vt {

namespace {

// The lists of a data object, read within the size of the block it hands over.
ShellDropData ReadDropData(IDataObject* data) {
  ShellDropData out;
  if (!data) return out;
  FORMATETC format{static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Shell IDList Array")), nullptr, DVASPECT_CONTENT,
                   -1, TYMED_HGLOBAL};
  {
    ReceivedMedium medium;
    if (!medium.Receive(data, &format)) return out;
    const HGLOBAL global = medium.get().tymed == TYMED_HGLOBAL ? medium.get().hGlobal : nullptr;
    const GlobalLocked block(global);
    if (block)
      if (auto lists = ReadShellIdArray(block.get(), GlobalSize(global))) out.lists = std::move(*lists);
  }
  for (std::size_t k = 1; k < out.lists.size(); ++k) {
    char path[1025] = {};
    const bool ok = SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(out.lists[k].data()), path) != FALSE;
    out.paths.emplace_back(ok ? path : "");
  }
  return out;
}

}  // namespace

class ShellDropTarget::Object final : public ComObject<IDropTarget, &IID_IDropTarget> {
 public:
  Object(HWND window, ShellDropSink& sink) : window_(window), sink_(&sink) {}
  void Detach() { sink_ = nullptr; }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL pt, DWORD* effect) override {
    try {
      data_ = ReadDropData(data);
    } catch (...) {
      data_ = {};
    }
    return DragOver(0, pt, effect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL pt, DWORD* effect) override {
    if (!effect) return E_INVALIDARG;
    const DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    try {
      if (sink_) *effect = sink_->DropTargetDragOver(data_, Client(pt)) & allowed;
    } catch (...) {
      *effect = DROPEFFECT_NONE;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    data_ = {};
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL pt, DWORD* effect) override {
    if (!effect) return E_INVALIDARG;
    const DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    try {
      // The data as it is now: the drop may bring more than the drag announced.
      ShellDropData dropped = ReadDropData(data);
      data_ = {};
      if (sink_) *effect = sink_->DropTargetDrop(dropped, Client(pt)) & allowed;
    } catch (...) {
      *effect = DROPEFFECT_NONE;
    }
    return S_OK;
  }

 private:
  POINT Client(POINTL pt) const {
    POINT p{pt.x, pt.y};
    ScreenToClient(window_, &p);
    return p;
  }

  HWND window_;
  ShellDropSink* sink_;
  ShellDropData data_;
};

std::unique_ptr<ShellDropTarget> ShellDropTarget::Register(HWND window, ShellDropSink& sink) {
  if (!window) return nullptr;
  ComPtr<Object> object(new Object(window, sink));
  if (FAILED(RegisterDragDrop(window, object.get()))) return nullptr;
  return std::unique_ptr<ShellDropTarget>(new ShellDropTarget(window, object.release()));
}

ShellDropTarget::ShellDropTarget(HWND window, Object* object) : window_(window), object_(object) {}

ShellDropTarget::~ShellDropTarget() {
  object_->Detach();
  RevokeDragDrop(window_);
}

}  // namespace vt
