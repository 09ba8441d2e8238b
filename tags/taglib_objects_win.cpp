// What the bridge does through TagLib's C++ objects behind the tag_c handles, where the C binding
// would change more than it was asked to: the file's own comment, and the save of a file that may
// carry ID3 tags.
//
// The own comment: in an ID3v2 tag it is the comment frame without a description. Other programs
// keep data of their own in described comment frames (iTunes' loudness and gapless numbers in
// "iTunNORM", "iTunSMPB", "iTunPGAP"); the tag-wide comment of the C binding would show one of
// those when the file has no own comment, overwrite the first with a typed comment and remove them
// all with an empty one.
#include <taglib/aifffile.h>
#include <taglib/apefile.h>
#include <taglib/apetag.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v1genres.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2synchdata.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpcfile.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/trueaudiofile.h>
#include <taglib/unknownframe.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>

#include <algorithm>
#include <vector>

#include "tags/taglib.h"

namespace taglib {
TagLib::ID3v2::Tag* Id3v2TagOf(TagLib_File* handle) {
  auto* file = reinterpret_cast<TagLib::File*>(handle);
  if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) return mpeg->ID3v2Tag();
  if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file)) return wav->ID3v2Tag();
  if (auto* aiff = dynamic_cast<TagLib::RIFF::AIFF::File*>(file)) return aiff->tag();
  if (auto* tta = dynamic_cast<TagLib::TrueAudio::File*>(file)) return tta->ID3v2Tag();
  return nullptr;
}

TagLib::APE::Tag* ApeTagOf(TagLib_File* handle) {
  auto* file = reinterpret_cast<TagLib::File*>(handle);
  if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) return mpeg->APETag();
  if (auto* ape = dynamic_cast<TagLib::APE::File*>(file)) return ape->APETag();
  if (auto* wavpack = dynamic_cast<TagLib::WavPack::File*>(file)) return wavpack->APETag();
  if (auto* mpc = dynamic_cast<TagLib::MPC::File*>(file)) return mpc->APETag();
  return nullptr;
}

}  // namespace taglib

namespace {
// A WAV file's ID3v2 and INFO tags as one: a field reads from the first that holds it, and is
// written into every tag the file has (into both where it has neither, as TagLib saves such a
// file).
class WavTags : public TagLib::Tag {
 public:
  explicit WavTags(TagLib::RIFF::WAV::File& wav) {
    if (wav.hasID3v2Tag() || !wav.hasInfoTag()) tags_.push_back(wav.ID3v2Tag());
    if (wav.hasInfoTag() || !wav.hasID3v2Tag()) tags_.push_back(wav.InfoTag());
  }
  TagLib::String title() const override { return First(&Tag::title); }
  TagLib::String artist() const override { return First(&Tag::artist); }
  TagLib::String album() const override { return First(&Tag::album); }
  TagLib::String comment() const override { return First(&Tag::comment); }
  TagLib::String genre() const override { return First(&Tag::genre); }
  unsigned int year() const override { return First(&Tag::year); }
  unsigned int track() const override { return First(&Tag::track); }
  void setTitle(const TagLib::String& s) override { SetAll(&Tag::setTitle, s); }
  void setArtist(const TagLib::String& s) override { SetAll(&Tag::setArtist, s); }
  void setAlbum(const TagLib::String& s) override { SetAll(&Tag::setAlbum, s); }
  void setComment(const TagLib::String& s) override { SetAll(&Tag::setComment, s); }
  void setGenre(const TagLib::String& s) override { SetAll(&Tag::setGenre, s); }
  void setYear(unsigned int n) override { SetAll(&Tag::setYear, n); }
  void setTrack(unsigned int n) override { SetAll(&Tag::setTrack, n); }

 private:
  template <typename Value>
  Value First(Value (Tag::*get)() const) const {
    for (const Tag* tag : tags_)
      if (Value value = (tag->*get)(); value != Value()) return value;
    return Value();
  }
  template <typename Value, typename Given>
  void SetAll(void (Tag::*set)(Value), const Given& value) {
    for (Tag* tag : tags_) (tag->*set)(value);
  }
  std::vector<Tag*> tags_;
};

// Takes the described comment frames out of the file's ID3v2 tag for as long as it lives, then puts
// the same frames back, every frame in its old place: the tag-wide comment meanwhile reads and
// writes only the own comment (and the comments of the file's other tags).
class DescribedCommentsAside {
 public:
  explicit DescribedCommentsAside(TagLib_File* file) : tag_(taglib::Id3v2TagOf(file)) {
    if (!tag_) return;
    for (TagLib::ID3v2::Frame* frame : tag_->frameList("COMM")) {
      auto* comment = dynamic_cast<TagLib::ID3v2::CommentsFrame*>(frame);
      if (!comment || !comment->description().isEmpty()) aside_.push_back(frame);
    }
    if (aside_.empty()) return;
    order_.assign(tag_->frameList().begin(), tag_->frameList().end());
    for (TagLib::ID3v2::Frame* frame : aside_) tag_->removeFrame(frame, false);
  }
  ~DescribedCommentsAside() {
    if (aside_.empty()) return;
    for (TagLib::ID3v2::Frame* frame : aside_) tag_->addFrame(frame);
    // TagLib appends what is added, so every frame is taken out and added again in the old order,
    // a frame new to the tag (a first own comment) last. Frames deleted meanwhile (an own comment
    // cleared) are only compared by address, never touched; none was made in the same call.
    std::vector<TagLib::ID3v2::Frame*> now(tag_->frameList().begin(), tag_->frameList().end());
    std::erase_if(order_, [&](auto* frame) { return std::ranges::find(now, frame) == now.end(); });
    for (TagLib::ID3v2::Frame* frame : now)
      if (std::ranges::find(order_, frame) == order_.end()) order_.push_back(frame);
    for (TagLib::ID3v2::Frame* frame : order_) {
      tag_->removeFrame(frame, false);
      tag_->addFrame(frame);
    }
  }
  DescribedCommentsAside(const DescribedCommentsAside&) = delete;
  DescribedCommentsAside& operator=(const DescribedCommentsAside&) = delete;

 private:
  TagLib::ID3v2::Tag* tag_;
  std::vector<TagLib::ID3v2::Frame*> aside_, order_;
};
}  // namespace

namespace taglib {
std::string OwnComment(TagLib_File* file, TagLib_Tag* tag) {
  DescribedCommentsAside aside(file);
  return Comment(tag);
}

void SetOwnComment(TagLib_File* file, TagLib_Tag* tag, const char* comment) {
  DescribedCommentsAside aside(file);
  SetComment(tag, comment);
}

FileTags::FileTags(TagLib_File* file) {
  STEP(TagLib);
  if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(reinterpret_cast<TagLib::File*>(file))) {
    joined_ = std::make_unique<WavTags>(*wav);
    tag_ = reinterpret_cast<TagLib_Tag*>(joined_.get());
  } else {
    tag_ = taglib_file_tag(file);
  }
}

FileTags::~FileTags() = default;

ApeKeysKept::ApeKeysKept(TagLib_File* file) : tag_(taglib::ApeTagOf(file)) {
  if (!tag_) return;
  for (const auto& [upper, item] : tag_->itemListMap()) keys_.push_back(item.key().to8Bit(true));
}

ApeKeysKept::~ApeKeysKept() {
  if (!tag_) return;
  for (const std::string& spelt : keys_) {
    const TagLib::String key(spelt, TagLib::String::UTF8);
    const auto found = tag_->itemListMap().find(key.upper());
    if (found == tag_->itemListMap().end() || found->second.key() == key) continue;
    TagLib::APE::Item item = found->second;
    item.setKey(key);
    tag_->setItem(key, item);
  }
}
}  // namespace taglib

namespace {
// Frames of ID3v2.3 that TagLib's frame factory keeps unread and marks to be left out of the saved
// tag, since ID3v2.4 dropped them (volume and equaliser settings, recording dates, the size). In a
// tag saved as ID3v2.3 they are valid: each is made again from the bytes it was read with, without
// the mark, and is written with them.
void KeepDroppedFrames(TagLib_File* handle) {
  TagLib::ID3v2::Tag* tag = taglib::Id3v2TagOf(handle);
  if (!tag || tag->header()->majorVersion() != 3) return;
  // A copy of TagLib's list would share its data, and delete every frame when it goes.
  const std::vector<TagLib::ID3v2::Frame*> frames(tag->frameList().begin(), tag->frameList().end());
  for (TagLib::ID3v2::Frame* frame : frames) {
    const TagLib::ByteVector id = frame->frameID();
    auto* unknown = dynamic_cast<TagLib::ID3v2::UnknownFrame*>(frame);
    if (!unknown || (id != "RVAD" && id != "EQUA" && id != "TRDA" && id != "TSIZ")) continue;
    const TagLib::ByteVector fields = unknown->data();
    tag->removeFrame(frame);
    // The frame as an ID3v2.4 header reads it; saved as ID3v2.3, it gets that version's header.
    tag->addFrame(
        new TagLib::ID3v2::UnknownFrame(id + TagLib::ID3v2::SynchData::fromUInt(fields.size()) +
                                        TagLib::ByteVector(2, '\0') + fields));
  }
}

// An ID3v2.2 tag's date in two frames, the year and the day and month: TagLib reads only the year
// and drops the other frame on save. They become the one full date it reads and writes, as it
// joins the same two frames of ID3v2.3 itself.
void JoinId3v22Date(TagLib::ID3v2::Tag* tag) {
  if (!tag || tag->header()->majorVersion() != 2 || tag->frameList("TDRC").size() != 1) return;
  auto* year =
      dynamic_cast<TagLib::ID3v2::TextIdentificationFrame*>(tag->frameList("TDRC").front());
  TagLib::ID3v2::UnknownFrame* dayMonth = nullptr;
  for (TagLib::ID3v2::Frame* frame : tag->frameList())
    if (frame->frameID() == "TDA") dayMonth = dynamic_cast<TagLib::ID3v2::UnknownFrame*>(frame);
  if (!year || year->toString().size() != 4 || !dayMonth || dayMonth->data().size() < 5) return;
  const TagLib::ByteVector data = dayMonth->data();
  const TagLib::String date(data.mid(1), TagLib::String::Type(data[0]));
  if (date.size() != 4) return;
  year->setText(year->toString() + '-' + date.substr(2, 2) + '-' + date.substr(0, 2));
  tag->removeFrame(dayMonth);
}

// Whether the values, as the file's tags read them, survive an ID3v1 tag's 128 bytes: Latin-1 texts
// within their widths, a year of four digits, a track up to 255 and a genre the ID3v1 list names
// exactly as it is spelt.
bool FitsId3v1(const TagLib::Tag& tag) {
  auto fits = [](const TagLib::String& text, unsigned width) {
    return text.isLatin1() && text.size() <= width;
  };
  const TagLib::String genre = tag.genre();
  return fits(tag.title(), 30) && fits(tag.artist(), 30) && fits(tag.album(), 30) &&
         fits(tag.comment(), 28) && tag.year() <= 9999 && tag.track() <= 255 &&
         (genre.isEmpty() || TagLib::ID3v1::genre(TagLib::ID3v1::genreIndex(genre)) == genre);
}

// Saves an MP3 in the tag types it has, ID3v2.3 staying ID3v2.3. The C binding would save it as
// ID3v2.4, add an ID3v2 tag to every file and fill it from the ID3v1 tag, creating an ID3v1 tag the
// file never had and filling its comment with whatever comment frame comes first (iTunes' numbers,
// say). An ID3v2 tag is added only to a file with no tag that takes every value: one without tags,
// or with an ID3v1 tag alone that a value outgrows. It then starts from the ID3v1 tag, which is
// what the program read; an APE tag takes every value, so a file that has one never needs ID3v2.
// A cover given to a file with neither gets an ID3v2.3 tag, likewise started from the ID3v1 tag.
bool SaveMpeg(TagLib::MPEG::File& mpeg) {
  using TagLib::MPEG::File;
  int tags = 0;
  // TagLib holds an ID3v2 tag for every MP3; one the file lacks is written when a cover went in.
  TagLib::ID3v2::Tag* id3v2 = mpeg.ID3v2Tag();
  const bool coverTag = id3v2 && !mpeg.hasID3v2Tag() && !id3v2->frameList("APIC").isEmpty();
  if (mpeg.hasID3v2Tag() || coverTag) tags |= File::ID3v2;
  if (mpeg.hasAPETag()) tags |= File::APE;
  if (mpeg.hasID3v1Tag()) tags |= File::ID3v1;
  const bool newId3v2 = !(tags & (File::ID3v2 | File::APE)) && (!tags || !FitsId3v1(*mpeg.tag()));
  if (newId3v2) tags |= File::ID3v2;
  const bool version3 = (tags & File::ID3v2) && id3v2->header()->majorVersion() == 3;
  return mpeg.save(tags, File::StripNone, version3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4,
                   newId3v2 || coverTag ? File::Duplicate : File::DoNotDuplicate);
}

// A WAV file is saved in the tag types it has (both where it has none, as TagLib does), its ID3v2
// tag in its own version; an AIFF file's ID3v2 tag likewise.
bool SaveRiff(TagLib::File* file) {
  auto version = [](TagLib::ID3v2::Tag* tag) {
    return tag && tag->header()->majorVersion() == 3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4;
  };
  if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file)) {
    using TagLib::RIFF::WAV::File;
    const bool id3v2 = wav->hasID3v2Tag() || !wav->ID3v2Tag()->frameList("APIC").isEmpty();
    int tags = (id3v2 ? File::ID3v2 : 0) | (wav->hasInfoTag() ? File::Info : 0);
    return wav->save(tags ? File::TagTypes(tags) : File::AllTags, File::StripNone,
                     version(wav->hasID3v2Tag() ? wav->ID3v2Tag() : nullptr));
  }
  auto* aiff = dynamic_cast<TagLib::RIFF::AIFF::File*>(file);
  return aiff->save(version(aiff->hasID3v2Tag() ? aiff->tag() : nullptr));
}
}  // namespace

namespace taglib {
void JoinSplitDate(TagLib_File* file) { JoinId3v22Date(Id3v2TagOf(file)); }

bool SaveFile(TagLib_File* handle) {
  STEP(TagLib);
  KeepDroppedFrames(handle);
  auto* file = reinterpret_cast<TagLib::File*>(handle);
  if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) return SaveMpeg(*mpeg);
  if (dynamic_cast<TagLib::RIFF::WAV::File*>(file) || dynamic_cast<TagLib::RIFF::AIFF::File*>(file))
    return SaveRiff(file);
  return FileSave(handle);
}
}  // namespace taglib
