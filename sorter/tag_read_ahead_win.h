// Reading the next file's tags on a worker thread while the run places the file before it.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "base/win_handles.h"
#include "tags/tag_info.h"

// One read at a time, of the file the run names next: opening a small file through TagLib costs
// about as much as moving it, so on two cores the run's reading and its copies and moves overlap.
// Every read goes on the worker, and is waited for no longer than a bound: a read that hangs (a
// share that dropped) gives 0, as a file whose tags can't be read does, and is left to its worker,
// which the object then gives up; the next read starts a worker of its own.
class TagReadAhead {
 public:
  // What reads a file's tags into a cleared record, as ReadTags does; tests put others here.
  using ReadStep = std::function<int(const std::string& path, TagInfo& tags)>;
  static constexpr DWORD kLongestReadMs = 10000;

  explicit TagReadAhead(ReadStep read = {}, DWORD longestReadMs = kLongestReadMs);
  ~TagReadAhead();
  TagReadAhead(const TagReadAhead&) = delete;
  TagReadAhead& operator=(const TagReadAhead&) = delete;

  // Begins reading the file's tags, once a read still going has ended. Without a thread to read
  // on, nothing is begun and Read reads the file itself.
  void Start(const std::string& path);
  // What the read step gives for the file into a cleared record: the read begun for it, or else
  // one begun now; 0 for a read that did not end within the bound.
  int Read(const std::string& path, TagInfo& tags);
  // Waits, within the bound, for a read still going to end, so that its file is free again; true
  // when one was going. Its result is kept for Read.
  bool Wait();

 private:
  // What the worker and this object share; a worker given up keeps it alive until it ends.
  struct Shared;
  static DWORD WINAPI Work(LPVOID shared);

  ReadStep read_;
  DWORD longestReadMs_;
  std::shared_ptr<Shared> shared_;
  KernelHandle worker_;
  // reading_: a read goes; ready_: the result of the read begun for the path waits to be taken.
  bool reading_ = false, ready_ = false;
};
