// The file's own comment, through TagLib's C++ objects behind the tag_c handles: in an ID3v2 tag
// it is the comment frame without a description. Other programs keep data of their own in
// described comment frames (iTunes' loudness and gapless numbers in "iTunNORM", "iTunSMPB",
// "iTunPGAP"); the tag-wide comment of the C binding would show one of those when the file has no
// own comment, overwrite the first with a typed comment and remove them all with an empty one.
#include <taglib/aifffile.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/trueaudiofile.h>
#include <taglib/wavfile.h>

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

// Takes the described comment frames out of the file's ID3v2 tag for as long as it lives, and puts
// the same frames back when it goes: the tag-wide comment then reads and writes only the own
// comment (and the comments of the file's other tags), and the described frames stay as they were.
class DescribedCommentsAside {
 public:
  explicit DescribedCommentsAside(TagLib_File* file) : tag_(Id3v2TagOf(file)) {
    if (!tag_) return;
    for (TagLib::ID3v2::Frame* frame : tag_->frameList("COMM")) {
      auto* comment = dynamic_cast<TagLib::ID3v2::CommentsFrame*>(frame);
      if (!comment || !comment->description().isEmpty()) aside_.push_back(frame);
    }
    for (TagLib::ID3v2::Frame* frame : aside_) tag_->removeFrame(frame, false);
  }
  ~DescribedCommentsAside() {
    for (TagLib::ID3v2::Frame* frame : aside_) tag_->addFrame(frame);
  }
  DescribedCommentsAside(const DescribedCommentsAside&) = delete;
  DescribedCommentsAside& operator=(const DescribedCommentsAside&) = delete;

 private:
  TagLib::ID3v2::Tag* tag_;
  std::vector<TagLib::ID3v2::Frame*> aside_;
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
}  // namespace taglib
