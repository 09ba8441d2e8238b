// Reading the next file's tags on a worker thread while the run places the file before it.
#pragma once
#include <windows.h>

#include <string>

#include "base/win_handles.h"
#include "tags/tag_info.h"

// One read at a time, of the file the run names next: opening a small file through TagLib costs
// about as much as moving it, so on two cores the run's reading and its copies and moves overlap.
// The worker starts with the first read and ends with the object, after the read it is at.
// TagLib's C binding keeps the texts it hands out in one list for every thread, which each read
// frees: while a read goes here, no other thread reads tags (during a run none does).
class TagReadAhead {
 public:
  TagReadAhead() = default;
  ~TagReadAhead();
  TagReadAhead(const TagReadAhead&) = delete;
  TagReadAhead& operator=(const TagReadAhead&) = delete;

  // Begins reading the file's tags, once a read still going has ended. Without a thread to read
  // on, nothing is begun and Read reads the file itself.
  void Start(const std::string& path);
  // What ReadTags gives for the file into a cleared record: the read begun for it, or else a read
  // here and now.
  int Read(const std::string& path, TagInfo& tags);
  // Waits for a read still going to end, so that its file is free again; true when one was going.
  // Its result is kept for Read.
  bool Wait();

 private:
  static DWORD WINAPI Work(LPVOID self);

  KernelHandle worker_, wake_, done_;
  // Written by the caller while no read goes, and by the worker only during one.
  std::string path_;
  TagInfo tags_;
  int result_ = 0;
  // reading_: a read goes; ready_: the result of the read begun for path_ waits to be taken.
  bool reading_ = false, ready_ = false, stop_ = false;
};
