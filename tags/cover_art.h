// The pictures of a file's tags as the editor shows and changes them: which is the front cover,
// what kind of image the bytes hold, what a change leaves in the file, and the line that describes
// a cover.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The picture types of ID3v2 APIC frames, FLAC and Vorbis picture blocks and WM/Picture.
inline constexpr int kOtherPicture = 0, kFrontCover = 3;

// One picture as a tag holds it. MP4 has no types: its first cover counts as the front cover and
// the others as kOtherPicture. APE keeps no MIME type: it is told by the bytes.
struct Picture {
  int type = kFrontCover;
  std::string mime, description, data;
  auto operator<=>(const Picture&) const = default;
};

enum class ImageKind { kNone, kJpeg, kPng, kGif, kBmp, kWebp };
// The kind of image by its first bytes; kNone for anything else.
ImageKind ImageKindOf(std::string_view bytes);
// "JPEG", "PNG", ...; "image/jpeg", "image/png", ...; empty for kNone.
std::string_view KindName(ImageKind kind);
std::string_view MimeTypeOf(ImageKind kind);

// Width, height and bits per pixel as a JPEG's frame header or a PNG's header give them.
struct ImageSize {
  std::uint32_t width = 0, height = 0, depth = 0;
};
std::optional<ImageSize> ImageSizeOf(std::string_view bytes);

// The picture the editor shows: the first marked front cover, else the first picture, which then
// is no front cover. Nothing for a file without pictures.
struct ShownPicture {
  size_t index = 0;
  bool front = false;
};
std::optional<ShownPicture> ShownPictureOf(const std::vector<Picture>& pictures);

// The picture the editor shows of a file, how many pictures the file holds, and whether the shown
// one is marked front cover.
struct ShownCover {
  Picture picture;
  size_t pictures = 0;
  bool front = false;
};

// What the user did to the cover: nothing, a new front cover (its bytes, a JPEG or PNG), or every
// front cover taken away.
struct CoverChange {
  enum Kind { kKeep, kSet, kRemove } kind = kKeep;
  std::string data;
  bool operator==(const CoverChange&) const = default;
};

// The pictures a file holds once the change is saved, in no particular order: every picture marked
// front cover goes (kSet and kRemove), the new one comes (kSet), every other stays as it was.
std::vector<Picture> PicturesAfter(std::vector<Picture> before, const CoverChange& change);
// Whether two lists hold the same pictures, in any order.
bool SamePictures(std::vector<Picture> a, std::vector<Picture> b);

// A short digest of a picture's bytes, by which the covers of several files are compared.
std::string CoverDigest(std::string_view data);

// What the covers of several files come to: none has a picture, all show the same bytes, or they
// differ (a file without a picture beside one with a picture too).
struct CoverSummary {
  size_t pictures = 0;
  bool front = false;  // the shown picture is marked front cover
  std::string digest;  // of the shown picture; empty without pictures
  bool operator==(const CoverSummary&) const = default;
};
enum class SharedCover { kNone, kSame, kDifferent };
SharedCover SharedCoverOf(const std::vector<CoverSummary>& covers);

// Limits of a picture: a FLAC or Ogg FLAC picture block reaches 16 MiB (TagLib 1.13 writes it
// wrongly); players are known to refuse pictures above 1 MiB.
bool PictureBlockTooLarge(const Picture& picture);
inline constexpr size_t kLargePictureBytes = 1 << 20;

// "600 × 600, 84 KB, JPEG", the kind told by the bytes (or the MIME type where they tell none);
// "GIF, 12 KB" where the size is not known.
std::string CoverLine(const std::string& data, const std::string& mime,
                      const std::optional<ImageSize>& size);
