// One background thread that decodes the preview pane's pictures, so that a large photo never
// holds up the panel. The newest request wins: a request supersedes the one before it, whose
// decoding stops at its next check and whose result is dropped, never delivered.
//
// When a picture is ready the worker posts `message` to the window with the request's
// generation in wParam; the window then calls TakeResult(generation). Nothing but that number
// travels in the message: the picture stays in the worker until taken, and TakeResult hands
// it out only for the newest request, so a late or forged message finds nothing.
#pragma once
#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "panel/PreviewDecode.h"

namespace vt {

class PreviewWorker {
 public:
  // notify may be null: the owner then polls TakeResult.
  PreviewWorker(HWND notify, UINT message);
  ~PreviewWorker();  // abandons any decoding and waits for the thread
  PreviewWorker(const PreviewWorker&) = delete;
  PreviewWorker& operator=(const PreviewWorker&) = delete;

  // Decode path as kind for a box of the given size. Generations start at 1 and grow with each
  // request or cancel; one that is not newer than the last is ignored.
  void Request(const std::string& path, PreviewKind kind, Size box, std::uint32_t generation);
  // The pane shows nothing now: any decoding is abandoned and no result will come.
  void Cancel(std::uint32_t generation);

  // The picture of the newest request, when one is ready: first a stand-in (final false) if the
  // file has one, then the final picture, which may be empty (nothing could be decoded).
  // Nothing for any other generation, or when the result was already taken.
  std::optional<PreviewPicture> TakeResult(std::uint32_t generation);

 private:
  struct Job {
    std::string path;
    PreviewKind kind = PreviewKind::None;
    Size box;
    std::uint32_t generation = 0;
  };
  void Run();
  void Deliver(std::uint32_t generation, PreviewPicture&& picture);

  HWND notify_;
  UINT message_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> pending_;              // the next job, replaced by each request
  std::uint32_t latest_ = 0;                // generation of the newest request or cancel
  std::optional<PreviewPicture> ready_;     // for latest_ only
  bool stop_ = false;
  std::thread thread_;                      // last: starts once everything above exists
};

}  // namespace vt
