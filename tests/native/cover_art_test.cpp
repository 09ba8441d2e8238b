#include "tags/cover_art.h"

#include <gtest/gtest.h>

namespace {
using namespace std::string_literals;
const std::string kPng = "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x02\x58\0\0\x01\x2C\x08\x06\0\0\0"s;
// SOI, an APP0 segment of 4 bytes, then SOF2 (progressive): 8 bits, 300 high, 600 wide, 3 parts.
const std::string kJpeg = "\xFF\xD8\xFF\xE0\0\x04\0\0\xFF\xC2\0\x11\x08\x01\x2C\x02\x58\x03"s;

TEST(CoverArt, KindAndSizeByTheBytes) {
  const struct {
    std::string bytes;
    ImageKind kind;
    std::optional<std::uint32_t> width, height, depth;
  } cases[] = {
      {kJpeg, ImageKind::kJpeg, 600, 300, 24},
      {kPng, ImageKind::kPng, 600, 300, 32},
      {"GIF89a\x01\0"s, ImageKind::kGif, {}, {}, {}},
      {"BM" + std::string(20, '\0'), ImageKind::kBmp, {}, {}, {}},
      {"RIFF\0\0\0\0WEBPVP8 "s, ImageKind::kWebp, {}, {}, {}},
      {"This is text, named cover.png", ImageKind::kNone, {}, {}, {}},
      {"\xFF\xD8\xFF\xE0\0\x01"s, ImageKind::kJpeg, {}, {}, {}},  // a segment that can't be
      {kPng.substr(0, 20), ImageKind::kPng, {}, {}, {}},          // a header cut short
      {"", ImageKind::kNone, {}, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(ImageKindOf(c.bytes), c.kind);
    const std::optional<ImageSize> size = ImageSizeOf(c.bytes);
    ASSERT_EQ(size.has_value(), c.width.has_value());
    if (!size) continue;
    EXPECT_EQ(size->width, *c.width);
    EXPECT_EQ(size->height, *c.height);
    EXPECT_EQ(size->depth, *c.depth);
  }
  EXPECT_EQ(MimeTypeOf(ImageKind::kPng), "image/png");
}

TEST(CoverArt, TheFrontCoverIsShownAndChangedAloneOthersStay) {
  const Picture back{4, "image/png", "back", "B"}, front{kFrontCover, "image/jpeg", "", "F"},
      other{kOtherPicture, "image/gif", "", "G"};
  EXPECT_FALSE(ShownPictureOf({}));
  const std::optional<ShownPicture> first = ShownPictureOf({back, other});
  ASSERT_TRUE(first);
  EXPECT_EQ(first->index, 0u);
  EXPECT_FALSE(first->front);
  const std::optional<ShownPicture> marked = ShownPictureOf({back, front, front});
  ASSERT_TRUE(marked);
  EXPECT_EQ(marked->index, 1u);
  EXPECT_TRUE(marked->front);

  const std::vector<Picture> before{back, front, other, front};
  EXPECT_EQ(PicturesAfter(before, {}), before);
  EXPECT_TRUE(SamePictures(PicturesAfter(before, {CoverChange::kRemove, ""}), {other, back}));
  EXPECT_TRUE(SamePictures(PicturesAfter(before, {CoverChange::kSet, kPng}),
                           {back, other, {kFrontCover, "image/png", "", kPng}}));
  EXPECT_FALSE(SamePictures(before, {back, front, other}));
}

TEST(CoverArt, SeveralFilesShareACoverOnlyWhenEveryOneHoldsTheSameBytes) {
  const CoverSummary none, a{1, true, CoverDigest("A")}, b{1, true, CoverDigest("B")};
  EXPECT_NE(CoverDigest("A"), CoverDigest("B"));
  EXPECT_NE(CoverDigest(std::string("\0", 1)), CoverDigest(std::string("\0\0", 2)));
  const struct {
    std::vector<CoverSummary> covers;
    SharedCover shared;
  } cases[] = {
      {{none, none}, SharedCover::kNone},   {{a, a, a}, SharedCover::kSame},
      {{a, b}, SharedCover::kDifferent},    {{a, none}, SharedCover::kDifferent},
      {{none, a}, SharedCover::kDifferent},
  };
  for (const auto& c : cases) EXPECT_EQ(SharedCoverOf(c.covers), c.shared);
}

TEST(CoverArt, LimitsAndTheLineThatDescribesACover) {
  EXPECT_FALSE(PictureBlockTooLarge({kFrontCover, "image/png", "", std::string(1 << 20, 'x')}));
  EXPECT_TRUE(PictureBlockTooLarge({kFrontCover, "image/png", "", std::string(1 << 24, 'x')}));
  EXPECT_TRUE(
      PictureBlockTooLarge({kFrontCover, "image/png", "", std::string((1 << 24) - 41, 'x')}));
  EXPECT_EQ(CoverLine(kJpeg + std::string(86000, '\0'), "", ImageSizeOf(kJpeg)),
            "600 \xC3\x97 300, 84 KB, JPEG");
  EXPECT_EQ(CoverLine("GIF89a" + std::string(12282, '\0'), "image/gif", std::nullopt),
            "GIF, 12 KB");
  EXPECT_EQ(CoverLine("????", "image/x-odd", std::nullopt), "image/x-odd, 1 KB");
  EXPECT_EQ(CoverLine("????", "", std::nullopt), "1 KB");
}
}  // namespace
