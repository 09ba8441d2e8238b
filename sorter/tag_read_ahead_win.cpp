#include "sorter/tag_read_ahead_win.h"

#include "base/position.h"
#include "tags/tag_bridge.h"

TagReadAhead::~TagReadAhead() {
  if (!worker_) return;
  Wait();
  stop_ = true;
  SetEvent(wake_.get());
  WaitForSingleObject(worker_.get(), INFINITE);  // it ends at once: no read goes now
}

DWORD WINAPI TagReadAhead::Work(LPVOID self) {
  auto* ahead = static_cast<TagReadAhead*>(self);
  while (WaitForSingleObject(ahead->wake_.get(), INFINITE) == WAIT_OBJECT_0 && !ahead->stop_) {
    STEP(Sorter);
    ahead->tags_ = TagInfo{};
    ahead->result_ = ReadTags(ahead->path_, &ahead->tags_);
    SetEvent(ahead->done_.get());
  }
  return 0;
}

void TagReadAhead::Start(const std::string& path) {
  STEP(Sorter);
  Wait();
  ready_ = false;
  if (!worker_) {
    wake_ = KernelHandle(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    done_ = KernelHandle(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (wake_ && done_) worker_ = KernelHandle(CreateThread(nullptr, 0, Work, this, 0, nullptr));
    if (!worker_) return;
  }
  path_ = path;
  reading_ = true;
  SetEvent(wake_.get());
}

bool TagReadAhead::Wait() {
  if (!reading_) return false;
  // The read ends as a read on this thread would: TagLib reads a bounded part of the file.
  WaitForSingleObject(done_.get(), INFINITE);
  reading_ = false;
  ready_ = true;
  return true;
}

int TagReadAhead::Read(const std::string& path, TagInfo& tags) {
  STEP(Sorter);
  Wait();
  if (ready_ && path_ == path) {
    ready_ = false;
    tags = std::move(tags_);
    return result_;
  }
  ready_ = false;
  tags = TagInfo{};
  return ReadTags(path, &tags);
}
