// The TagLib tag_c calls the program makes, each recorded as a step of the taglib module so that a
// fault inside the library is reported there.
#pragma once
#include <taglib/tag_c.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/position.h"
#include "base/wide_text_win.h"
#include "base/win_handles.h"
#include "tags/cover_art.h"
#include "tags/taglib_file_win.h"

namespace TagLib {
class Tag;
namespace APE {
class Tag;
}
namespace ID3v2 {
class Tag;
}
}  // namespace TagLib

namespace taglib {
// The name is UTF-8 and reaches TagLib as UTF-16. The binding is told, once, to keep no list of
// the texts it hands out: that list is one for every thread, and a read given up on one thread
// (a share that dropped) may go on beside a read on another. The program frees each text itself.
inline TagLib_File* FileNew(const std::string& name) {
  static const bool unlisted = (taglib_set_string_management_enabled(FALSE), true);
  (void)unlisted;
  const std::wstring wide = Wide(name);
  return STEP(TagLib), OpenTagLibFile(wide.c_str());
}
inline void FileFree(TagLib_File* file) { STEP(TagLib), taglib_file_free(file); }
// A text the binding handed out, copied and freed.
inline std::string Taken(char* text) {
  std::string copy = text ? text : "";
  taglib_free(text);
  return copy;
}
// An opened file, freed through FileFree when it goes.
using File = Owner<TagLib_File*, FileFree>;

// The tag of an opened file as the program reads and writes it, for as long as this lives: the
// binding's tag, which for most files joins every tag they have, reading them in TagLib's order.
// A WAV file's is made here, since the binding hands out its ID3v2 tag alone and a file with RIFF
// INFO only would show nothing: it reads ID3v2, then INFO, and writes into each the file has.
// Null for a file without a tag.
class FileTags {
 public:
  explicit FileTags(TagLib_File* file);
  ~FileTags();
  FileTags(const FileTags&) = delete;
  FileTags& operator=(const FileTags&) = delete;
  TagLib_Tag* get() const { return tag_; }

 private:
  std::unique_ptr<TagLib::Tag> joined_;  // a WAV file's tags
  TagLib_Tag* tag_;
};

// While it lives, fields set keep the spelling of the APE tag's keys: TagLib writes a field's item
// under its own capitals ("TITLE") where the file had it as "Title", though APE keys compare
// without case. Afterwards each item a set renamed so gets its old key back.
class ApeKeysKept {
 public:
  explicit ApeKeysKept(TagLib_File* file);
  ~ApeKeysKept();
  ApeKeysKept(const ApeKeysKept&) = delete;
  ApeKeysKept& operator=(const ApeKeysKept&) = delete;

 private:
  TagLib::APE::Tag* tag_;
  std::vector<std::string> keys_;  // as the file spelt them, UTF-8
};
inline const TagLib_AudioProperties* FileAudioProperties(const TagLib_File* file) {
  return STEP(TagLib), taglib_file_audioproperties(file);
}
inline bool FileSave(TagLib_File* file) { return STEP(TagLib), taglib_file_save(file) != 0; }

inline std::string Title(const TagLib_Tag* tag) {
  return STEP(TagLib), Taken(taglib_tag_title(tag));
}
inline std::string Artist(const TagLib_Tag* tag) {
  return STEP(TagLib), Taken(taglib_tag_artist(tag));
}
inline std::string Album(const TagLib_Tag* tag) {
  return STEP(TagLib), Taken(taglib_tag_album(tag));
}
inline std::string Comment(const TagLib_Tag* tag) {
  return STEP(TagLib), Taken(taglib_tag_comment(tag));
}
inline std::string Genre(const TagLib_Tag* tag) {
  return STEP(TagLib), Taken(taglib_tag_genre(tag));
}
inline unsigned Year(const TagLib_Tag* tag) { return STEP(TagLib), taglib_tag_year(tag); }
inline unsigned Track(const TagLib_Tag* tag) { return STEP(TagLib), taglib_tag_track(tag); }

inline void SetTitle(TagLib_Tag* tag, const char* s) { STEP(TagLib), taglib_tag_set_title(tag, s); }
inline void SetArtist(TagLib_Tag* tag, const char* s) {
  STEP(TagLib), taglib_tag_set_artist(tag, s);
}
inline void SetAlbum(TagLib_Tag* tag, const char* s) { STEP(TagLib), taglib_tag_set_album(tag, s); }
inline void SetComment(TagLib_Tag* tag, const char* s) {
  STEP(TagLib), taglib_tag_set_comment(tag, s);
}
inline void SetGenre(TagLib_Tag* tag, const char* s) { STEP(TagLib), taglib_tag_set_genre(tag, s); }
inline void SetYear(TagLib_Tag* tag, unsigned n) { STEP(TagLib), taglib_tag_set_year(tag, n); }
inline void SetTrack(TagLib_Tag* tag, unsigned n) { STEP(TagLib), taglib_tag_set_track(tag, n); }

inline int Bitrate(const TagLib_AudioProperties* p) {
  return STEP(TagLib), taglib_audioproperties_bitrate(p);
}
inline int SampleRate(const TagLib_AudioProperties* p) {
  return STEP(TagLib), taglib_audioproperties_samplerate(p);
}
inline int Channels(const TagLib_AudioProperties* p) {
  return STEP(TagLib), taglib_audioproperties_channels(p);
}
inline int Length(const TagLib_AudioProperties* p) {
  return STEP(TagLib), taglib_audioproperties_length(p);
}

// The ID3v2 tag of the file types that may carry one (MP3, WAV, AIFF, TrueAudio); null for the
// others.
TagLib::ID3v2::Tag* Id3v2TagOf(TagLib_File* file);
// The APE tag of the file types that may carry one, where the file has it; null for the others.
TagLib::APE::Tag* ApeTagOf(TagLib_File* file);

// The file's own comment: in an ID3v2 tag the comment frame without a description, never one that
// another program described as its own ("iTunNORM" and the like); setting it, empty included,
// leaves those frames as they are. For other tags, the tag's comment.
std::string OwnComment(TagLib_File* file, TagLib_Tag* tag);
void SetOwnComment(TagLib_File* file, TagLib_Tag* tag, const char* comment);
// A field that may hold several values (the artist, the genre), by its TagLib property key.
// Read, it is the values joined by kValueSeparator where the file's tag holds several, else the
// binding's text. Set, a text holding kValueSeparator goes as its parts, several values, into each
// of the file's tags that holds several (Vorbis comments, APE, ID3v2.4, MP4), and as the one text
// into its other tags; any other text goes as the binding sets it.
inline constexpr char kValueSeparator[] = "; ";
std::string ListText(TagLib_File* file, TagLib_Tag* tag, const char* key,
                     std::string (*single)(const TagLib_Tag*));
void SetListText(TagLib_File* file, TagLib_Tag* tag, const char* key, const char* text,
                 void (*single)(TagLib_Tag*, const char*));
// What TagLib reads from a file beyond some of its fields: what a save must keep as it was.
struct HeldValues {
  std::vector<std::string> values;   // "KEY=value", a line per value
  std::vector<std::string> unshown;  // the names of frames and items TagLib holds but cannot show
  // Whether this, read after a save, keeps what before held: the same values, and every frame or
  // item it could not show (a save may add one, such as an ID3v2.3 date's day and month frame).
  bool Keeps(const HeldValues& before) const;
};
HeldValues OtherValues(TagLib_File* file, const std::vector<std::string>& keysLeftOut);
// A date that an ID3v2.2 tag holds in two frames (the year, the day and month), of which TagLib
// reads and keeps only the year, becomes the one full date, as TagLib joins ID3v2.3's itself.
void JoinSplitDate(TagLib_File* file);
// The track number and the track total (track_totals_win.cpp): the total a file's tags hold,
// 0 where none; whether the file keeps a total at all (not WMA, RIFF INFO, WAV, ID3v1 alone).
// Setting the number keeps the total beside it; setting the total writes it with the number the
// tag holds, in the form each tag keeps it, into every tag that has a track number.
unsigned TrackTotal(TagLib_File* file, TagLib_Tag* tag);
bool KeepsTrackTotal(TagLib_File* file);
void SetTrack(TagLib_File* file, TagLib_Tag* tag, unsigned track);
void SetTrackTotal(TagLib_File* file, TagLib_Tag* tag, unsigned total);
// The pictures of the file's tags (pictures_win.cpp), in order; none for a format that holds
// none. A visit sees each picture's bytes where TagLib holds them, valid during the call: a large
// cover costs no copy (a fresh half megabyte costs a millisecond under Wine).
struct PictureView {
  int type;
  std::string mime, description;
  std::string_view data;
};
using PictureVisit = std::function<void(const PictureView&)>;
void VisitPictures(TagLib_File* file, const PictureVisit& visit);
std::vector<Picture> Pictures(TagLib_File* file);
bool HoldsPictures(TagLib_File* file);
// Whether the format's pictures have no types (MP4: the first is the front cover).
bool PicturesUntyped(TagLib_File* file);
// Whether the format keeps pictures in FLAC metadata blocks, which PictureBlockTooLarge limits.
bool BlocksLimitPictures(TagLib_File* file);
// Takes every front cover out of the file's tags and, for kSet, puts the new one into the first
// tag that holds pictures (an MP3 with no ID3v2 nor APE tag gets an ID3v2.3 tag for it); every
// other picture stays. False for a format that holds no picture.
bool ChangeCover(TagLib_File* file, const CoverChange& change);
// Saves the file: an MP3, WAV or AIFF file in the tag types and ID3v2 version it has, ID3v2.3
// frames that TagLib would leave out kept; every other file as TagLib does. True when TagLib
// reports the save as done.
bool SaveFile(TagLib_File* file);
}  // namespace taglib
