// What the bridge does through TagLib's C++ objects behind the tag_c handles, where the C binding
// would change more than it was asked to: the file's own comment, and the save of an MP3.
//
// The own comment: in an ID3v2 tag it is the comment frame without a description. Other programs
// keep data of their own in described comment frames (iTunes' loudness and gapless numbers in
// "iTunNORM", "iTunSMPB", "iTunPGAP"); the tag-wide comment of the C binding would show one of
// those when the file has no own comment, overwrite the first with a typed comment and remove them
// all with an empty one.
#include <taglib/aifffile.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/trueaudiofile.h>
#include <taglib/wavfile.h>

#include <algorithm>
#include <vector>

#include "tags/taglib.h"

namespace {
// The ID3v2 tag of the file types that may carry one; null for the others.
TagLib::ID3v2::Tag* Id3v2TagOf(TagLib_File* handle) {
  auto* file = reinterpret_cast<TagLib::File*>(handle);
  if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) return mpeg->ID3v2Tag();
  if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file)) return wav->ID3v2Tag();
  if (auto* aiff = dynamic_cast<TagLib::RIFF::AIFF::File*>(file)) return aiff->tag();
  if (auto* tta = dynamic_cast<TagLib::TrueAudio::File*>(file)) return tta->ID3v2Tag();
  return nullptr;
}

// Takes the described comment frames out of the file's ID3v2 tag for as long as it lives, then puts
// the same frames back, every frame in its old place: the tag-wide comment meanwhile reads and
// writes only the own comment (and the comments of the file's other tags).
class DescribedCommentsAside {
 public:
  explicit DescribedCommentsAside(TagLib_File* file) : tag_(Id3v2TagOf(file)) {
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
char* OwnComment(TagLib_File* file, TagLib_Tag* tag) {
  DescribedCommentsAside aside(file);
  return Comment(tag);
}

void SetOwnComment(TagLib_File* file, TagLib_Tag* tag, const char* comment) {
  DescribedCommentsAside aside(file);
  SetComment(tag, comment);
}

// The C binding saves an MP3 as ID3v2.4 and copies its tags into each other, creating an ID3v1 tag
// the file never had and filling its comment with whatever comment frame comes first (iTunes'
// numbers, say). An MP3 is saved in the tag types it has, ID3v2.3 staying ID3v2.3, and its tags
// are copied into each other only when the ID3v2 tag is new, so that it starts from the old tag.
bool SaveFile(TagLib_File* handle) {
  STEP(TagLib);
  auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(reinterpret_cast<TagLib::File*>(handle));
  if (!mpeg) return FileSave(handle);
  using TagLib::MPEG::File;
  int tags = File::ID3v2;
  if (mpeg->hasID3v1Tag()) tags |= File::ID3v1;
  if (mpeg->hasAPETag()) tags |= File::APE;
  const bool hasId3v2 = mpeg->hasID3v2Tag();
  const bool version3 = hasId3v2 && mpeg->ID3v2Tag()->header()->majorVersion() == 3;
  return mpeg->save(tags, File::StripNone, version3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4,
                    hasId3v2 ? File::DoNotDuplicate : File::Duplicate);
}
}  // namespace taglib
