#include "panel/PreviewWorker.h"

namespace vt {

PreviewWorker::PreviewWorker(HWND notify, UINT message)
    : notify_(notify), message_(message), thread_([this] { Run(); }) {}

PreviewWorker::~PreviewWorker() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void PreviewWorker::Request(const std::string& path, PreviewKind kind, Size box, std::uint32_t generation) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (generation <= latest_) return;
    latest_ = generation;
    ready_.reset();
    pending_ = Job{path, kind, box, generation};
  }
  wake_.notify_all();
}

void PreviewWorker::Cancel(std::uint32_t generation) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (generation <= latest_) return;
  latest_ = generation;
  ready_.reset();
  pending_.reset();
}

std::optional<PreviewPicture> PreviewWorker::TakeResult(std::uint32_t generation) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (generation != latest_ || !ready_) return std::nullopt;
  std::optional<PreviewPicture> out = std::move(ready_);
  ready_.reset();
  return out;
}

void PreviewWorker::Deliver(std::uint32_t generation, PreviewPicture&& picture) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (generation != latest_ || stop_) return;  // superseded while it decoded: dropped
    // A final picture replaces a stand-in that was not taken yet; a stand-in never replaces
    // anything (the final one cannot be there yet).
    ready_ = std::move(picture);
  }
  if (notify_) PostMessageA(notify_, message_, static_cast<WPARAM>(generation), 0);
}

void PreviewWorker::Run() {
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || pending_.has_value(); });
      if (stop_) return;
      job = std::move(*pending_);
      pending_.reset();
    }
    const std::uint32_t generation = job.generation;
    const CancelCheck superseded = [this, generation] {
      std::lock_guard<std::mutex> lock(mutex_);
      return stop_ || latest_ != generation;
    };
    PreviewPicture picture = DecodePreview(job.path, job.kind, job.box, superseded,
                                           [this, generation](PreviewPicture&& early) {
                                             Deliver(generation, std::move(early));
                                           });
    Deliver(generation, std::move(picture));
  }
}

}  // namespace vt
