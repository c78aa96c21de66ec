// Which picture the preview pane shows for a file: chosen by the extension alone, in any
// letter case, and only when its type is switched on (?ViewBMP, ?ViewJPG, ?ViewGIF).
#pragma once
#include <string>

namespace vt {

enum class PreviewKind { None, Bmp, Jpeg, Gif };

struct PreviewSwitches {
  bool bmp = true, jpg = true, gif = true;
};

PreviewKind PreviewKindOf(const std::string& path, const PreviewSwitches& view);

}  // namespace vt
