#include "sorter/tag_read_ahead_win.h"

#include <atomic>

#include "base/position.h"
#include "tags/tag_bridge.h"

// The worker's side: written by the owner while no read goes, and by the worker only during one.
struct TagReadAhead::Shared {
  ReadStep read;
  KernelHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  KernelHandle done{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  std::string path;
  TagInfo tags;
  int result = 0;
  std::atomic<bool> stop = false;
};

namespace {
int ReadFileTags(const std::string& path, TagInfo& tags) { return ReadTags(path, &tags); }
}  // namespace

TagReadAhead::TagReadAhead(ReadStep read, DWORD longestReadMs)
    : read_(read ? std::move(read) : ReadFileTags), longestReadMs_(longestReadMs) {}

TagReadAhead::~TagReadAhead() {
  if (!worker_) return;
  if (reading_ && !Wait()) return;  // given up: it ends on its own
  shared_->stop = true;
  SetEvent(shared_->wake.get());
  WaitForSingleObject(worker_.get(), INFINITE);  // it ends at once: no read goes now
}

DWORD WINAPI TagReadAhead::Work(LPVOID data) {
  // The worker's own hold on what it shares, so that a worker given up finds it still there.
  const std::unique_ptr<std::shared_ptr<Shared>> hold(static_cast<std::shared_ptr<Shared>*>(data));
  Shared& shared = **hold;
  while (WaitForSingleObject(shared.wake.get(), INFINITE) == WAIT_OBJECT_0 && !shared.stop) {
    STEP(Sorter);
    shared.tags = TagInfo{};
    shared.result = shared.read(shared.path, shared.tags);
    SetEvent(shared.done.get());
  }
  return 0;
}

void TagReadAhead::Start(const std::string& path) {
  STEP(Sorter);
  Wait();
  ready_ = false;
  if (!worker_) {
    shared_ = std::make_shared<Shared>();
    shared_->read = read_;
    auto* hold = new std::shared_ptr<Shared>(shared_);
    if (shared_->wake && shared_->done)
      worker_ = KernelHandle(CreateThread(nullptr, 0, Work, hold, 0, nullptr));
    if (!worker_) {
      delete hold;
      return;
    }
  }
  shared_->path = path;
  reading_ = true;
  SetEvent(shared_->wake.get());
}

bool TagReadAhead::Wait() {
  if (!reading_) return false;
  reading_ = false;
  if (WaitForSingleObject(shared_->done.get(), longestReadMs_) == WAIT_OBJECT_0) {
    ready_ = true;
    return true;
  }
  // The read hangs: its worker is given up, with what it shares, and ends once the read does; the
  // read counts as failed.
  shared_->stop = true;
  SetEvent(shared_->wake.get());
  shared_.reset();
  worker_ = KernelHandle();
  ready_ = false;
  return false;
}

int TagReadAhead::Read(const std::string& path, TagInfo& tags) {
  STEP(Sorter);
  tags = TagInfo{};
  // Read ahead already, or being read: taken from there; else read now, on the worker all the same.
  if (!(reading_ || ready_) || shared_->path != path) Start(path);
  if (!worker_) return read_(path, tags);  // no thread to read on
  if (reading_ && !Wait()) return 0;
  ready_ = false;
  tags = std::move(shared_->tags);
  return shared_->result;
}
