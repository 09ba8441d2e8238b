// A track's number and the album's track total beside it, where each format keeps that total:
// ID3v2 TRCK and APE "Track" as "3/12", Vorbis TRACKTOTAL (TOTALTRACKS where the file uses that
// name, or "3/12" in TRACKNUMBER), MP4 "trkn" as a pair. WMA, RIFF INFO and ID3v1 keep no total;
// a WAV file counts as keeping none (its INFO tag cannot), though a total its ID3v2 tag holds
// stays when the number changes.
#include <taglib/apetag.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/oggfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include <algorithm>
#include <string>

#include "tags/taglib.h"

namespace {
using TagLib::String;

// The tags of a file that keep the total, each null where the file has none.
struct TotalTags {
  TagLib::ID3v2::Tag* id3v2 = nullptr;
  TagLib::APE::Tag* ape = nullptr;
  TagLib::Ogg::XiphComment* xiph = nullptr;
  TagLib::MP4::Tag* mp4 = nullptr;
  bool any() const { return id3v2 || ape || xiph || mp4; }

  // A WAV file's ID3v2 tag only where asked for.
  explicit TotalTags(TagLib_File* handle, bool wavToo = false) {
    auto* file = reinterpret_cast<TagLib::File*>(handle);
    if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file)) {
      if (wavToo && wav->hasID3v2Tag()) id3v2 = wav->ID3v2Tag();
      return;
    }
    auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file);
    // TagLib gives every MP3 an ID3v2 tag in memory; only one the file has is saved.
    if (!mpeg || mpeg->hasID3v2Tag()) id3v2 = taglib::Id3v2TagOf(handle);
    if (!mpeg || mpeg->hasAPETag()) ape = taglib::ApeTagOf(handle);
    if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file))
      xiph = flac->xiphComment(true);
    else if (auto* ogg = dynamic_cast<TagLib::Ogg::File*>(file))
      xiph = dynamic_cast<TagLib::Ogg::XiphComment*>(ogg->tag());
    if (auto* mp4File = dynamic_cast<TagLib::MP4::File*>(file)) mp4 = mp4File->tag();
  }
};

// "3/12" parted: the total after the slash, 0 without one.
unsigned TotalIn(const String& text) {
  const int slash = text.find("/");
  return slash < 0 ? 0 : unsigned(std::max(0, text.substr(unsigned(slash) + 1).toInt()));
}
String NumberWith(unsigned track, unsigned total) {
  return total ? String::number(int(track)) + "/" + String::number(int(total))
               : String::number(int(track));
}
// The Vorbis field a total goes in: TOTALTRACKS where the file has it, else TRACKTOTAL.
String XiphTotalKey(const TagLib::Ogg::XiphComment& xiph) {
  return xiph.contains("TOTALTRACKS") && !xiph.contains("TRACKTOTAL") ? "TOTALTRACKS"
                                                                      : "TRACKTOTAL";
}
String First(const TagLib::Ogg::XiphComment& xiph, const String& key) {
  const TagLib::StringList values =
      xiph.contains(key) ? xiph.fieldListMap()[key] : TagLib::StringList();
  return values.isEmpty() ? String() : values.front();
}

// The ID3v2 TRCK text, the APE "Track" text; empty where the tag holds none.
String TrackText(const TagLib::ID3v2::Tag& tag) {
  const TagLib::ID3v2::FrameList& frames = tag.frameList("TRCK");
  return frames.isEmpty() ? String() : frames.front()->toString();
}
void SetTrackText(TagLib::ID3v2::Tag& tag, const String& text) {
  // The frame keeps its text encoding.
  if (auto* frame =
          dynamic_cast<TagLib::ID3v2::TextIdentificationFrame*>(tag.frameList("TRCK").front()))
    frame->setText(text);
}
String TrackText(const TagLib::APE::Tag& tag) {
  const auto& items = tag.itemListMap();
  return items.contains("TRACK") ? items["TRACK"].toString() : String();
}

// Writes number and total into each tag of the file that keeps a total, in the form it keeps
// them; a tag with no track number is left without one.
void SetNumberAndTotal(const TotalTags& tags, unsigned track, unsigned total) {
  if (tags.id3v2 && !TrackText(*tags.id3v2).isEmpty())
    SetTrackText(*tags.id3v2, NumberWith(track, total));
  if (tags.ape && !TrackText(*tags.ape).isEmpty())
    tags.ape->addValue("TRACK", NumberWith(track, total), true);
  if (tags.mp4 && tags.mp4->contains("trkn"))
    tags.mp4->setItem("trkn", TagLib::MP4::Item(int(track), int(total)));
  if (!tags.xiph) return;
  const String number = First(*tags.xiph, "TRACKNUMBER");
  if (number.isEmpty()) return;
  if (TotalIn(number)) tags.xiph->addField("TRACKNUMBER", NumberWith(track, total), true);
  const String key = XiphTotalKey(*tags.xiph);
  if (total)
    tags.xiph->addField(key, String::number(int(total)), true);
  else
    tags.xiph->removeFields(key);
}
}  // namespace

namespace taglib {
bool KeepsTrackTotal(TagLib_File* file) { return TotalTags(file).any(); }

unsigned TrackTotal(TagLib_File* file, TagLib_Tag*) {
  STEP(TagLib);
  const TotalTags tags(file);
  if (tags.xiph) {
    const String total = First(*tags.xiph, XiphTotalKey(*tags.xiph));
    if (!total.isEmpty()) return unsigned(std::max(0, total.toInt()));
    if (const unsigned inNumber = TotalIn(First(*tags.xiph, "TRACKNUMBER"))) return inNumber;
  }
  if (tags.mp4 && tags.mp4->contains("trkn"))
    return unsigned(std::max(0, tags.mp4->item("trkn").toIntPair().second));
  if (tags.id3v2)
    if (const unsigned total = TotalIn(TrackText(*tags.id3v2))) return total;
  if (tags.ape) return TotalIn(TrackText(*tags.ape));
  return 0;
}

void SetTrack(TagLib_File* file, TagLib_Tag* tag, unsigned track) {
  STEP(TagLib);
  // The binding sets the number alone in every tag, dropping a total kept beside it in the same
  // text or item: each such total goes back in. A total in a field of its own stays by itself.
  const TotalTags tags(file, true);
  const unsigned id3v2 = tags.id3v2 ? TotalIn(TrackText(*tags.id3v2)) : 0,
                 ape = tags.ape ? TotalIn(TrackText(*tags.ape)) : 0,
                 xiph = tags.xiph ? TotalIn(First(*tags.xiph, "TRACKNUMBER")) : 0,
                 mp4 = tags.mp4 && tags.mp4->contains("trkn")
                           ? unsigned(std::max(0, tags.mp4->item("trkn").toIntPair().second))
                           : 0;
  SetTrack(tag, track);
  if (!track) return;
  if (id3v2) SetTrackText(*tags.id3v2, NumberWith(track, id3v2));
  if (ape) tags.ape->addValue("TRACK", NumberWith(track, ape), true);
  if (xiph) tags.xiph->addField("TRACKNUMBER", NumberWith(track, xiph), true);
  if (mp4) tags.mp4->setItem("trkn", TagLib::MP4::Item(int(track), int(mp4)));
}

void SetTrackTotal(TagLib_File* file, TagLib_Tag* tag, unsigned total) {
  STEP(TagLib);
  SetNumberAndTotal(TotalTags(file), Track(tag), total);
}
}  // namespace taglib
