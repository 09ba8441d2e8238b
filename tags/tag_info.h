// One file's tag fields and audio properties; texts in UTF-8.
#pragma once
#include <cstdint>
#include <string>

#include "tags/cover_art.h"

struct TagInfo {
  // The tag: read from and written to the file.
  std::string title;
  std::string artist;
  std::string album;
  std::int32_t year = 0;  // 0: none
  std::string comment;
  std::int32_t track = 0;  // 0: none
  std::string genre;       // as a name, never a number
  // The audio properties: only ever read.
  std::int32_t bitrate = 0;  // kbit/s
  std::int32_t sampleRate = 0;
  std::int32_t channels = 0;
  std::int64_t length = 0;  // seconds
  // The pictures, summed up where the reading was asked for them (the editor's).
  CoverSummary cover = {};
  // Of the tag too, kept last so that records listed field by field need not name it: the count of
  // the album's tracks, where the format keeps one; 0: none.
  std::int32_t trackTotal = 0;

  bool operator==(const TagInfo&) const = default;
};
