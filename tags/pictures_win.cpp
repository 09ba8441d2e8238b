// The pictures of a file's tags through TagLib's C++ objects (the C binding has no picture calls):
// ID3v2 APIC frames, APE "Cover Art (...)" items, FLAC picture blocks, Vorbis comment pictures,
// MP4 "covr" items and WM/Picture attributes. A picture's bytes go in and out as they are.
#include <taglib/aifffile.h>
#include <taglib/apefile.h>
#include <taglib/apetag.h>
#include <taglib/asffile.h>
#include <taglib/asftag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/mpcfile.h>
#include <taglib/mpegfile.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/speexfile.h>
#include <taglib/trueaudiofile.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>
#include <taglib/xiphcomment.h>

#include "tags/taglib.h"

namespace {
using TagLib::ByteVector;
ByteVector Bytes(const std::string& bytes) {
  return ByteVector(bytes.data(), unsigned(bytes.size()));
}
std::string_view View(const ByteVector& bytes) { return {bytes.data(), bytes.size()}; }
std::string Utf8(const TagLib::String& text) { return text.to8Bit(true); }
std::string MimeOf(std::string_view data) { return std::string(MimeTypeOf(ImageKindOf(data))); }

// The tags of a file that hold its pictures, each null where the format or the file has none.
struct PictureTags {
  TagLib::ID3v2::Tag* id3v2 = nullptr;
  TagLib::APE::Tag* ape = nullptr;
  TagLib::FLAC::File* flac = nullptr;
  TagLib::Ogg::XiphComment* xiph = nullptr;
  TagLib::MP4::Tag* mp4 = nullptr;
  TagLib::ASF::Tag* asf = nullptr;
  // Where a new cover goes in an MP3 that has neither ID3v2 nor APE tag.
  TagLib::MPEG::File* bareMpeg = nullptr;
  bool any() const { return id3v2 || ape || flac || xiph || mp4 || asf || bareMpeg; }
};

PictureTags TagsOf(TagLib_File* handle) {
  auto* file = reinterpret_cast<TagLib::File*>(handle);
  PictureTags tags;
  if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) {
    // TagLib makes an empty ID3v2 tag for every MP3 it opens: only one the file has counts.
    tags.id3v2 = mpeg->hasID3v2Tag() ? mpeg->ID3v2Tag() : nullptr;
    tags.ape = mpeg->hasAPETag() ? mpeg->APETag() : nullptr;
    if (!tags.id3v2 && !tags.ape) tags.bareMpeg = mpeg;
  } else if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file)) {
    tags.id3v2 = wav->ID3v2Tag();
  } else if (auto* aiff = dynamic_cast<TagLib::RIFF::AIFF::File*>(file)) {
    tags.id3v2 = aiff->tag();
  } else if (auto* tta = dynamic_cast<TagLib::TrueAudio::File*>(file)) {
    tags.id3v2 = tta->ID3v2Tag(true);
  } else if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
    tags.flac = flac;
  } else if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(file)) {
    tags.xiph = vorbis->tag();
  } else if (auto* opus = dynamic_cast<TagLib::Ogg::Opus::File*>(file)) {
    tags.xiph = opus->tag();
  } else if (auto* speex = dynamic_cast<TagLib::Ogg::Speex::File*>(file)) {
    tags.xiph = speex->tag();
  } else if (auto* oggFlac = dynamic_cast<TagLib::Ogg::FLAC::File*>(file)) {
    tags.xiph = oggFlac->tag();
  } else if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) {
    tags.mp4 = mp4->tag();
  } else if (auto* asf = dynamic_cast<TagLib::ASF::File*>(file)) {
    tags.asf = asf->tag();
  } else if (auto* ape = dynamic_cast<TagLib::APE::File*>(file)) {
    tags.ape = ape->APETag(true);
  } else if (auto* wavpack = dynamic_cast<TagLib::WavPack::File*>(file)) {
    tags.ape = wavpack->APETag(true);
  } else if (auto* mpc = dynamic_cast<TagLib::MPC::File*>(file)) {
    tags.ape = mpc->APETag(true);
  }
  return tags;
}

// ID3v2: APIC frames (ID3v2.2's PIC frames read as such).
void ReadId3v2(TagLib::ID3v2::Tag& tag, const taglib::PictureVisit& visit) {
  for (auto* frame : tag.frameList("APIC"))
    if (auto* apic = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame))
      visit({int(apic->type()), Utf8(apic->mimeType()), Utf8(apic->description()),
             View(apic->picture())});
}
void ChangeId3v2(TagLib::ID3v2::Tag& tag, const CoverChange& change) {
  const TagLib::ID3v2::FrameList frames = tag.frameList("APIC");  // a copy: frames go below
  for (auto* frame : frames)
    if (auto* apic = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
        apic && apic->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover)
      tag.removeFrame(frame);
  if (change.kind != CoverChange::kSet) return;
  auto* apic = new TagLib::ID3v2::AttachedPictureFrame;
  apic->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
  apic->setMimeType(MimeOf(change.data));
  apic->setPicture(Bytes(change.data));
  tag.addFrame(apic);
}

// APE: binary items "Cover Art (Front)", "Cover Art (Back)"..., each a description, a zero byte
// and the image. Keys compare without case.
constexpr char kApeFront[] = "Cover Art (Front)";
void ReadApe(TagLib::APE::Tag& tag, const taglib::PictureVisit& visit) {
  for (const auto& [key, item] : tag.itemListMap()) {
    if (!key.upper().startsWith("COVER ART (") || item.type() != TagLib::APE::Item::Binary)
      continue;
    const ByteVector bytes = item.binaryData();
    const std::string_view value = View(bytes);
    const size_t end = value.find('\0');
    const std::string_view data = end == std::string::npos ? value : value.substr(end + 1);
    const int type = key.upper() == TagLib::String(kApeFront).upper() ? kFrontCover
                     : key.upper() == "COVER ART (BACK)"              ? 4
                                                                      : kOtherPicture;
    visit({type, MimeOf(data), std::string(end == std::string::npos ? "" : value.substr(0, end)),
           data});
  }
}
void ChangeApe(TagLib::APE::Tag& tag, const CoverChange& change) {
  tag.removeItem(kApeFront);
  if (change.kind == CoverChange::kSet)
    tag.setItem(kApeFront, TagLib::APE::Item(kApeFront, Bytes('\0' + change.data), true));
}

// FLAC picture blocks and Vorbis comment pictures, both FLAC::Picture.
void ReadFlacPictures(const TagLib::List<TagLib::FLAC::Picture*>& list,
                      const taglib::PictureVisit& visit) {
  for (const TagLib::FLAC::Picture* picture : list)
    visit({int(picture->type()), Utf8(picture->mimeType()), Utf8(picture->description()),
           View(picture->data())});
}
TagLib::FLAC::Picture* NewFlacPicture(const std::string& data) {
  auto* picture = new TagLib::FLAC::Picture;
  picture->setType(TagLib::FLAC::Picture::FrontCover);
  picture->setMimeType(MimeOf(data));
  if (const std::optional<ImageSize> size = ImageSizeOf(data)) {
    picture->setWidth(int(size->width));
    picture->setHeight(int(size->height));
    picture->setColorDepth(int(size->depth));
  }
  picture->setData(Bytes(data));
  return picture;
}
template <typename Holder>
void ChangeFlacPictures(Holder& holder, const CoverChange& change) {
  for (TagLib::FLAC::Picture* picture : holder.pictureList())  // a copy of the list
    if (picture->type() == TagLib::FLAC::Picture::FrontCover) holder.removePicture(picture, true);
  if (change.kind == CoverChange::kSet) holder.addPicture(NewFlacPicture(change.data));
}

// MP4: "covr" items have no types; the first counts as the front cover.
void ReadMp4(TagLib::MP4::Tag& tag, const taglib::PictureVisit& visit) {
  if (!tag.contains("covr")) return;
  bool first = true;
  for (const TagLib::MP4::CoverArt& art : tag.item("covr").toCoverArtList()) {
    const ByteVector bytes = art.data();
    visit({first ? kFrontCover : kOtherPicture, MimeOf(View(bytes)), "", View(bytes)});
    first = false;
  }
}
void ChangeMp4(TagLib::MP4::Tag& tag, const CoverChange& change) {
  TagLib::MP4::CoverArtList list =
      tag.contains("covr") ? tag.item("covr").toCoverArtList() : TagLib::MP4::CoverArtList();
  if (!list.isEmpty()) list.erase(list.begin());
  if (change.kind == CoverChange::kSet)
    list.prepend(TagLib::MP4::CoverArt(ImageKindOf(change.data) == ImageKind::kPng
                                           ? TagLib::MP4::CoverArt::PNG
                                           : TagLib::MP4::CoverArt::JPEG,
                                       Bytes(change.data)));
  if (list.isEmpty())
    tag.removeItem("covr");
  else
    tag.setItem("covr", TagLib::MP4::Item(list));
}

// WMA: WM/Picture attributes.
void ReadAsf(TagLib::ASF::Tag& tag, const taglib::PictureVisit& visit) {
  for (const TagLib::ASF::Attribute& attribute : tag.attribute("WM/Picture")) {
    const TagLib::ASF::Picture picture = attribute.toPicture();
    if (picture.isValid())
      visit({int(picture.type()), Utf8(picture.mimeType()), Utf8(picture.description()),
             View(picture.picture())});
  }
}
void ChangeAsf(TagLib::ASF::Tag& tag, const CoverChange& change) {
  const TagLib::ASF::AttributeList attributes = tag.attribute("WM/Picture");
  tag.removeItem("WM/Picture");
  for (const TagLib::ASF::Attribute& attribute : attributes)
    if (attribute.toPicture().type() != TagLib::ASF::Picture::FrontCover)
      tag.addAttribute("WM/Picture", attribute);
  if (change.kind != CoverChange::kSet) return;
  TagLib::ASF::Picture picture;
  picture.setType(TagLib::ASF::Picture::FrontCover);
  picture.setMimeType(MimeOf(change.data));
  picture.setPicture(Bytes(change.data));
  tag.addAttribute("WM/Picture", TagLib::ASF::Attribute(picture));
}
}  // namespace

namespace taglib {
bool HoldsPictures(TagLib_File* file) { return TagsOf(file).any(); }

void VisitPictures(TagLib_File* file, const PictureVisit& visit) {
  STEP(TagLib);
  const PictureTags tags = TagsOf(file);
  if (tags.id3v2) ReadId3v2(*tags.id3v2, visit);
  if (tags.ape) ReadApe(*tags.ape, visit);
  if (tags.flac) ReadFlacPictures(tags.flac->pictureList(), visit);
  if (tags.xiph) ReadFlacPictures(tags.xiph->pictureList(), visit);
  if (tags.mp4) ReadMp4(*tags.mp4, visit);
  if (tags.asf) ReadAsf(*tags.asf, visit);
}

std::vector<Picture> Pictures(TagLib_File* file) {
  std::vector<Picture> pictures;
  VisitPictures(file, [&](const PictureView& picture) {
    pictures.push_back(
        {picture.type, picture.mime, picture.description, std::string(picture.data)});
  });
  return pictures;
}

bool PicturesUntyped(TagLib_File* file) { return TagsOf(file).mp4 != nullptr; }

bool BlocksLimitPictures(TagLib_File* handle) {
  auto* file = reinterpret_cast<TagLib::File*>(handle);
  return dynamic_cast<TagLib::FLAC::File*>(file) || dynamic_cast<TagLib::Ogg::FLAC::File*>(file);
}

bool ChangeCover(TagLib_File* file, const CoverChange& change) {
  STEP(TagLib);
  if (change.kind == CoverChange::kKeep) return true;
  PictureTags tags = TagsOf(file);
  if (tags.bareMpeg) {
    if (change.kind == CoverChange::kRemove) return true;
    // An MP3 with ID3v1 alone, or no tag, gets an ID3v2.3 tag for its cover, the version every
    // player and Explorer read.
    tags.id3v2 = tags.bareMpeg->ID3v2Tag(true);
    tags.id3v2->header()->setMajorVersion(3);
  }
  // The new cover goes into the first tag that holds pictures; every tag loses its front covers.
  const bool removeOnly = change.kind == CoverChange::kRemove;
  const CoverChange remove{CoverChange::kRemove, ""};
  bool placed = false;
  auto next = [&]() -> const CoverChange& { return removeOnly || placed ? remove : change; };
  if (tags.id3v2) ChangeId3v2(*tags.id3v2, next()), placed = true;
  if (tags.ape) ChangeApe(*tags.ape, next()), placed = true;
  if (tags.flac) ChangeFlacPictures(*tags.flac, next()), placed = true;
  if (tags.xiph) ChangeFlacPictures(*tags.xiph, next()), placed = true;
  if (tags.mp4) ChangeMp4(*tags.mp4, next()), placed = true;
  if (tags.asf) ChangeAsf(*tags.asf, next()), placed = true;
  return placed;
}
}  // namespace taglib
