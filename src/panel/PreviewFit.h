// Where the preview pane puts a picture: GIF animations by FitGifPreview, still pictures
// centred and proportional, never enlarged; and how far a JPEG may be scaled while it is
// decoded so that it still fills the place it gets.
#pragma once
#include "kit/Rect.h"

namespace vt {

// Bounds of the animation view inside an area of W x H: shrunk to W, then to H, with integer
// truncation, never enlarged, centred. An empty image or area gives an empty rectangle; a
// sliver that would truncate to 0 keeps 1 pixel.
Rect FitGifPreview(Size image, Size area);

// The still-picture view's rule. The same arithmetic: the picture keeps its own size when it
// fits, else it is scaled down with its aspect ratio kept until it does.
Rect FitStillPicture(Size image, Size area);

// The smallest n of n/8 (1..8) at which the decoder's output, ceil(side x n / 8), is still at
// least the size FitStillPicture gives, so that the final scaling only ever shrinks.
int ChooseJpegScale(Size image, Size area);

}  // namespace vt
