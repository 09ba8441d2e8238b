#include "tests/support/raw_tag_support.h"

#include <taglib/fileref.h>
#include <taglib/tag_c.h>
#include <taglib/tpropertymap.h>

#include "base/wide_text_win.h"
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

std::string PropertyValues(const std::string& path, const char* key) {
  const TagLib::FileRef file(Wide(path).c_str());  // the name may hold any script
  return file.isNull() ? "<does not open>"
                       : file.file()->properties()[key].toString("|").to8Bit(true);
}

}  // namespace testing_win
