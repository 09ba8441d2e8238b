// Fields that hold several values, and every value a file holds, through TagLib's C++ objects:
// the C binding joins a field's values with a space, so that two artists read as one.
#include <taglib/apetag.h>
#include <taglib/flacfile.h>
#include <taglib/id3v1genres.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/opusfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tpropertymap.h>
#include <taglib/vorbisfile.h>
#include <taglib/xiphcomment.h>

#include <algorithm>

#include "base/text_util.h"
#include "tags/taglib.h"

namespace {
TagLib::String Utf8(const char* text) { return TagLib::String(text, TagLib::String::UTF8); }

// The Vorbis comment of a FLAC, Ogg Vorbis or Opus file; null for the others.
TagLib::Ogg::XiphComment* XiphOf(TagLib::File* file) {
  if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file))
    return flac->hasXiphComment() ? flac->xiphComment() : nullptr;
  if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(file)) return vorbis->tag();
  if (auto* opus = dynamic_cast<TagLib::Ogg::Opus::File*>(file)) return opus->tag();
  return nullptr;
}

// The MP4 atoms of the fields that may hold several values.
const char* Mp4Atom(const TagLib::String& key) { return key == "ARTIST" ? "\251ART" : "\251gen"; }
const char* Id3v2Frame(const TagLib::String& key) { return key == "ARTIST" ? "TPE1" : "TCON"; }

// The tags of the file that hold several values of a field, in the order TagLib reads its tags.
// An ID3v2 tag counts only in version 4: version 3 has no way to part the values.
struct ListTags {
  TagLib::Ogg::XiphComment* xiph = nullptr;
  TagLib::MP4::Tag* mp4 = nullptr;
  TagLib::ID3v2::Tag* id3v2 = nullptr;
  TagLib::APE::Tag* ape = nullptr;

  explicit ListTags(TagLib_File* handle) {
    auto* file = reinterpret_cast<TagLib::File*>(handle);
    xiph = XiphOf(file);
    if (auto* mp4File = dynamic_cast<TagLib::MP4::File*>(file)) mp4 = mp4File->tag();
    id3v2 = taglib::Id3v2TagOf(handle);
    if (id3v2 && id3v2->header()->majorVersion() != 4) id3v2 = nullptr;
    ape = taglib::ApeTagOf(handle);
  }

  // The values of the ID3v2 tag's frame, a genre given by its ID3v1 number as the name.
  TagLib::StringList Id3v2Values(const TagLib::String& key) const {
    TagLib::StringList values;
    const auto* frame = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame*>(
        id3v2->frameList(Id3v2Frame(key)).front());
    for (TagLib::String value : frame ? frame->fieldList() : TagLib::StringList()) {
      bool number = false;
      const int genre = value.toInt(&number);
      if (key == "GENRE" && number && genre >= 0 && genre <= 255)
        value = TagLib::ID3v1::genre(genre);
      values.append(value);
    }
    return values;
  }

  // The values of the first tag that holds any under the key, each tag asked for that field alone.
  TagLib::StringList Values(const TagLib::String& key) const {
    if (xiph && xiph->contains(key)) return xiph->fieldListMap()[key];
    if (mp4 && mp4->contains(Mp4Atom(key))) return mp4->item(Mp4Atom(key)).toStringList();
    if (id3v2 && !id3v2->frameList(Id3v2Frame(key)).isEmpty()) return Id3v2Values(key);
    if (ape && ape->itemListMap().contains(key.upper()))
      return ape->itemListMap()[key.upper()].values();
    return {};
  }
};
}  // namespace

namespace taglib {
std::string ListText(TagLib_File* file, TagLib_Tag* tag, const char* key,
                     std::string (*single)(const TagLib_Tag*)) {
  STEP(TagLib);
  const std::string joined = single(tag);
  // Values joined by the binding always hold a space: a text without one is a single value.
  if (joined.find(' ') == std::string::npos) return joined;
  const TagLib::StringList values = ListTags(file).Values(key);
  // The list stands for the field only where it is what the binding read, its values joined by a
  // space (by a comma in MP4): a field the file holds in another tag first stays as the binding
  // read it.
  auto readAs = [&](const char* joiner) {
    return TrimSpaces(values.toString(joiner).to8Bit(true)) == TrimSpaces(joined);
  };
  if (values.size() < 2 || !(readAs(" ") || readAs(", "))) return joined;
  return values.toString(kValueSeparator).to8Bit(true);
}

void SetListText(TagLib_File* file, TagLib_Tag* tag, const char* key, const char* text,
                 void (*single)(TagLib_Tag*, const char*)) {
  STEP(TagLib);
  single(tag, text);
  TagLib::StringList values;
  for (const std::string& value : SplitAt(text, kValueSeparator))
    values.append(Utf8(value.c_str()));
  if (values.size() < 2) return;
  const ListTags tags(file);
  if (tags.xiph) {
    tags.xiph->removeFields(key);
    for (const TagLib::String& value : values) tags.xiph->addField(key, value, false);
  }
  if (tags.mp4) tags.mp4->setItem(Mp4Atom(key), TagLib::MP4::Item(values));
  if (tags.id3v2)
    for (TagLib::ID3v2::Frame* frame : tags.id3v2->frameList(Id3v2Frame(key)))
      if (auto* textFrame = dynamic_cast<TagLib::ID3v2::TextIdentificationFrame*>(frame))
        textFrame->setText(values);
  if (tags.ape) tags.ape->setItem(key, TagLib::APE::Item(key, values));
}

HeldValues OtherValues(TagLib_File* handle, const std::vector<std::string>& keysLeftOut) {
  STEP(TagLib);
  const TagLib::PropertyMap map = reinterpret_cast<TagLib::File*>(handle)->properties();
  HeldValues held;
  for (const auto& [key, values] : map) {
    if (std::ranges::find(keysLeftOut, key.to8Bit(true)) != keysLeftOut.end()) continue;
    for (const TagLib::String& value : values)
      held.values.push_back(key.to8Bit(true) + "=" + value.to8Bit(true));
  }
  for (const TagLib::String& name : map.unsupportedData())
    held.unshown.push_back(name.to8Bit(true));
  return held;
}

bool HeldValues::Keeps(const HeldValues& before) const {
  return values == before.values && std::ranges::all_of(before.unshown, [&](const auto& name) {
           return std::ranges::find(unshown, name) != unshown.end();
         });
}
}  // namespace taglib
