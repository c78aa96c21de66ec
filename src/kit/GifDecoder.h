// GIF decoding with giflib into the frames the compositor plays. giflib only unpacks; the
// caps of GifBuilder decide how much of a hostile file is kept (see kit/GifAnimation.h).
#pragma once
#include "kit/CancelCheck.h"
#include "kit/GifAnimation.h"

namespace vt {

class ByteSource;

// True when at least one frame was decoded. Damaged data after good frames keeps those
// frames (a cut last frame keeps its decoded rows); a canvas over the cap gives false.
bool DecodeGif(ByteSource& source, GifImage& out, const CancelCheck& cancelled = {});

}  // namespace vt
