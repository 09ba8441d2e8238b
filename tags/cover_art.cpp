#include "tags/cover_art.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
bool StartsWith(std::string_view bytes, std::string_view start) {
  return bytes.substr(0, start.size()) == start;
}

std::uint32_t BigEndian(std::string_view bytes, size_t at, size_t count) {
  std::uint32_t value = 0;
  for (size_t i = 0; i < count; ++i) value = value << 8 | std::uint8_t(bytes[at + i]);
  return value;
}

// A JPEG's size from its first frame header (SOF0 to SOF15 but DHT, JPG and DAC), walking the
// segments from the start; nothing where they run out first.
std::optional<ImageSize> JpegSize(std::string_view bytes) {
  for (size_t at = 2; at + 4 <= bytes.size();) {
    if (std::uint8_t(bytes[at]) != 0xFF) return std::nullopt;
    const std::uint8_t marker = std::uint8_t(bytes[at + 1]);
    if (marker == 0xFF) {  // padding
      ++at;
      continue;
    }
    const std::uint32_t length = BigEndian(bytes, at + 2, 2);
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && at + 10 <= bytes.size())
      return ImageSize{BigEndian(bytes, at + 7, 2), BigEndian(bytes, at + 5, 2),
                       std::uint32_t(std::uint8_t(bytes[at + 4])) * std::uint8_t(bytes[at + 9])};
    if (length < 2) return std::nullopt;
    at += 2 + length;
  }
  return std::nullopt;
}

// A PNG's size from its header chunk: bits per sample times the samples of its colour type.
std::optional<ImageSize> PngSize(std::string_view bytes) {
  if (bytes.size() < 26 || bytes.substr(12, 4) != "IHDR") return std::nullopt;
  static constexpr std::uint32_t kSamples[] = {1, 0, 3, 1, 2, 0, 4};
  const std::uint8_t colour = std::uint8_t(bytes[25]);
  const std::uint32_t samples = colour < std::size(kSamples) ? kSamples[colour] : 0;
  return ImageSize{BigEndian(bytes, 16, 4), BigEndian(bytes, 20, 4),
                   std::uint8_t(bytes[24]) * samples};
}
}  // namespace

ImageKind ImageKindOf(std::string_view bytes) {
  if (StartsWith(bytes, "\xFF\xD8\xFF")) return ImageKind::kJpeg;
  if (StartsWith(bytes, "\x89PNG\r\n\x1A\n")) return ImageKind::kPng;
  if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) return ImageKind::kGif;
  if (StartsWith(bytes, "BM") && bytes.size() >= 14) return ImageKind::kBmp;
  if (StartsWith(bytes, "RIFF") && bytes.substr(8, 4) == "WEBP") return ImageKind::kWebp;
  return ImageKind::kNone;
}

std::string_view KindName(ImageKind kind) {
  static constexpr std::string_view kNames[] = {"", "JPEG", "PNG", "GIF", "BMP", "WebP"};
  return kNames[size_t(kind)];
}

std::string_view MimeTypeOf(ImageKind kind) {
  static constexpr std::string_view kTypes[] = {"",          "image/jpeg", "image/png",
                                                "image/gif", "image/bmp",  "image/webp"};
  return kTypes[size_t(kind)];
}

std::optional<ImageSize> ImageSizeOf(std::string_view bytes) {
  switch (ImageKindOf(bytes)) {
    case ImageKind::kJpeg:
      return JpegSize(bytes);
    case ImageKind::kPng:
      return PngSize(bytes);
    default:
      return std::nullopt;
  }
}

std::optional<ShownPicture> ShownPictureOf(const std::vector<Picture>& pictures) {
  if (pictures.empty()) return std::nullopt;
  const auto front = std::ranges::find(pictures, kFrontCover, &Picture::type);
  if (front == pictures.end()) return ShownPicture{0, false};
  return ShownPicture{size_t(front - pictures.begin()), true};
}

std::vector<Picture> PicturesAfter(std::vector<Picture> before, const CoverChange& change) {
  if (change.kind == CoverChange::kKeep) return before;
  std::erase_if(before, [](const Picture& picture) { return picture.type == kFrontCover; });
  if (change.kind == CoverChange::kSet)
    before.push_back(
        {kFrontCover, std::string(MimeTypeOf(ImageKindOf(change.data))), "", change.data});
  return before;
}

bool SamePictures(std::vector<Picture> a, std::vector<Picture> b) {
  std::ranges::sort(a);
  std::ranges::sort(b);
  return a == b;
}

std::string CoverDigest(std::string_view data) {
  // FNV-1a over eight bytes at a time (a thousand covers of half a megabyte are hashed as the
  // editor opens), with the length: a cover differing from another in any byte gives another
  // digest but for chance, which two files of one selection do not meet.
  std::uint64_t hash = 0xCBF29CE484222325ull;
  size_t at = 0;
  for (; at + 8 <= data.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, data.data() + at, 8);
    hash = (hash ^ word) * 0x100000001B3ull;
    hash ^= hash >> 29;
  }
  for (; at < data.size(); ++at) hash = (hash ^ std::uint8_t(data[at])) * 0x100000001B3ull;
  char text[40];
  std::snprintf(text, sizeof text, "%zx-%016llx", data.size(), (unsigned long long)hash);
  return text;
}

SharedCover SharedCoverOf(const std::vector<CoverSummary>& covers) {
  if (covers.empty() ||
      std::ranges::all_of(covers, [](const CoverSummary& cover) { return cover.digest.empty(); }))
    return SharedCover::kNone;
  const bool same = std::ranges::all_of(
      covers, [&](const CoverSummary& cover) { return cover.digest == covers.front().digest; });
  return same ? SharedCover::kSame : SharedCover::kDifferent;
}

bool PictureBlockTooLarge(const Picture& picture) {
  // The block's length field has 24 bits: type, two lengths, the texts, four numbers, the data.
  return 32 + picture.mime.size() + picture.description.size() + picture.data.size() >= (1u << 24);
}

std::string CoverLine(const std::string& data, const std::string& mime,
                      const std::optional<ImageSize>& size) {
  std::string_view kind = KindName(ImageKindOf(data));
  std::string named = kind.empty() ? mime : std::string(kind);
  const std::string kilobytes =
      std::to_string(std::max<size_t>(1, (data.size() + 512) / 1024)) + " KB";
  if (size && size->width && size->height)
    return std::to_string(size->width) + " \xC3\x97 " + std::to_string(size->height) + ", " +
           kilobytes + (named.empty() ? "" : ", " + named);
  return named.empty() ? kilobytes : named + ", " + kilobytes;
}
