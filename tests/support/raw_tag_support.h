// What TagLib itself finds in a file, as raw UTF-8, to check what reached the disk.
#pragma once
#include <string>

namespace testing_win {

struct RawTag {
  std::string title, artist, album, comment, genre;
  unsigned year = 0, track = 0;
  int bitrate = -1, sampleRate = -1, channels = -1, length = -1;
  bool operator==(const RawTag&) const = default;
};

// The tag and audio properties as TagLib's C binding reads them; all empty when it cannot open.
RawTag ReadRaw(const std::string& path);

// The values TagLib's C++ classes read under a property key (ARTIST, DATE...), joined by "|".
std::string PropertyValues(const std::string& path, const char* key);

}  // namespace testing_win
