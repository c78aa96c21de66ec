// The preview pane, the panel's right column: what the user points at in the dialog (the one
// selected item, or else the folder shown), as a picture with its name, type, picture size,
// file size and date below it, and the folder's path in the status bar.
//
// Pictures are decoded by a worker thread so that a large photo never holds up the panel; the
// newest target wins, and a picture that arrives for an older target is never shown. The
// "Size:" line follows the picture: it appears once a picture is shown.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <memory>
#include <string>

#include "panel/PanelContext.h"
#include "panel/PanelForm.h"
#include "panel/PanelSettings.h"
#include "panel/PreviewChoice.h"
#include "panel/PreviewView.h"
#include "panel/PreviewWorker.h"
#include "util/Handles.h"

namespace vt {

class Preview {
 public:
  Preview(PanelContext& ctx, PanelForm& form, const PanelSettings& settings)
      : ctx_(ctx), form_(form), settings_(settings) {}

  // After the form's components exist: the picture view, and the labels emptied.
  void Create();
  // After each folder report: the status bar's path, then the target's picture and facts.
  void UpdatePreview(LPCITEMIDLIST currentFolder, LPCITEMIDLIST selectedItem);
  // The worker's note that a picture for `generation` is ready (any other number finds none).
  void PictureReady(WPARAM generation);
  // The column was resized: the view fills it again, the labels take its width.
  void Layout();
  // The panel closes: decoding stops, the list is released.
  void Release();

 private:
  struct Facts {
    std::string name, type;
    std::int64_t fileSize = -1;
    double date = -1.0;
    std::string pictureLine;  // "Size: …", read once a picture is shown
    bool pictureLineRead = false;
  };

  void UpdateStatusBar(LPCITEMIDLIST currentFolder);
  void LoadTarget();
  void Request(const std::string& file, PreviewKind kind);
  void ReadFacts();
  void UpdatePreviewInfo();
  void PlaceLabel(HWND label, const std::string& text, int& y, bool stack);

  PanelContext& ctx_;
  PanelForm& form_;
  const PanelSettings& settings_;  // the picture types shown
  std::unique_ptr<PreviewView> picture_;
  std::unique_ptr<PreviewWorker> worker_;  // started with the first picture to decode
  std::uint32_t generation_ = 0;
  // The still picture asked for last and the area it was asked for: a larger area asks again.
  std::string requestedFile_;
  PreviewKind requestedKind_ = PreviewKind::None;
  Size requestedArea_;
  ItemListPtr PreviewIdList;
  std::string PreviewPath;
  Facts facts_;
  ItemListPtr statusFolder_;  // the folder whose path the status bar shows
};

}  // namespace vt
