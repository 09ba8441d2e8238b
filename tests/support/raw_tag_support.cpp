#include "tests/support/raw_tag_support.h"

#include <taglib/tag_c.h>

#include "tags/taglib.h"

namespace testing_win {

RawTag ReadRaw(const std::string& path) {
  RawTag raw;
  const taglib::File file(taglib::FileNew(path));
  if (!file) return raw;
  if (TagLib_Tag* tag = taglib_file_tag(file.get())) {
    raw.title = taglib_tag_title(tag);
    raw.artist = taglib_tag_artist(tag);
    raw.album = taglib_tag_album(tag);
    raw.comment = taglib_tag_comment(tag);
    raw.genre = taglib_tag_genre(tag);
    raw.year = taglib_tag_year(tag);
    raw.track = taglib_tag_track(tag);
  }
  if (const TagLib_AudioProperties* p = taglib_file_audioproperties(file.get())) {
    raw.bitrate = taglib_audioproperties_bitrate(p);
    raw.sampleRate = taglib_audioproperties_samplerate(p);
    raw.channels = taglib_audioproperties_channels(p);
    raw.length = taglib_audioproperties_length(p);
  }
  return raw;
}

}  // namespace testing_win
