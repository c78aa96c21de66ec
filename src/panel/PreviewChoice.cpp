#include "panel/PreviewChoice.h"

namespace vt {

PreviewKind PreviewKindOf(const std::string& path, const PreviewSwitches& view) {
  // The extension starts at the last dot after the last folder separator.
  const std::size_t slash = path.find_last_of("\\/");
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return PreviewKind::None;
  std::string ext = path.substr(dot);
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (ext == ".BMP") return view.bmp ? PreviewKind::Bmp : PreviewKind::None;
  if (ext == ".JPG" || ext == ".JPEG") return view.jpg ? PreviewKind::Jpeg : PreviewKind::None;
  if (ext == ".GIF") return view.gif ? PreviewKind::Gif : PreviewKind::None;
  return PreviewKind::None;
}

}  // namespace vt
