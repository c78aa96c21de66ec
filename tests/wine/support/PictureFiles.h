// Picture files made at test time with the same libraries the product links: JPEG photos
// (optionally with an Exif thumbnail), animated GIFs and plain BMPs.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vtt {

using Bytes = std::vector<std::uint8_t>;

// A w x h photo-like JPEG: a colour gradient around `tint` with fine noise, so that its
// entropy-coded data is as busy as a real photo's.
Bytes MakeJpeg(int w, int h, std::uint32_t tint, int quality = 85, bool progressive = false);
// The same JPEG with an Exif segment carrying thumbnail after its start marker.
Bytes WithExifThumbnail(const Bytes& jpeg, const Bytes& thumbnail);

struct GifFrameSpec {
  int colourIndex;  // the whole frame is this index of a 4-colour table
  int delayHundredths;
};
// A w x h GIF with a red, green, blue, white table and a Netscape loop of `loops` (0 forever).
Bytes MakeGif(int w, int h, const std::vector<GifFrameSpec>& frames, int loops = 0);

// A 24-bit bottom-up BMP filled with one colour (0xRRGGBB).
Bytes MakeBmp(int w, int h, std::uint32_t rgb);

bool WriteBytes(const std::string& path, const Bytes& data);

// A folder of its own below the temporary folder for the files a test writes; removed with
// them.
class PictureFolder {
 public:
  explicit PictureFolder(const std::string& name);
  ~PictureFolder();
  PictureFolder(const PictureFolder&) = delete;
  PictureFolder& operator=(const PictureFolder&) = delete;
  const std::string& Path() const { return dir_; }  // ends with a backslash
  std::string Write(const std::string& name, const Bytes& data);

 private:
  std::string dir_;
  std::vector<std::string> written_;
};

}  // namespace vtt
