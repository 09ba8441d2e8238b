#include "editor/name_pattern.h"

#include <gtest/gtest.h>

namespace {
TEST(NamePattern, ReadsNamesLeftToRightAsTheLegendSays) {
  using M = NameMatch;
  const struct {
    std::string pattern, path;
    bool underscores;
    M::Misfit misfit;
    std::string artist = "", album = "", title = "", track = "", year = "", at = "";
  } cases[] = {
      {"%ARTIST% - %TITLE%", "C:\\In\\A - B - C.mp3", false, M::kFits, "A", "", "B - C", "", ""},
      {"%ARTIST% - %TITLE%", "Mr. Jones - Song.mp3", false, M::kFits, "Mr. Jones", "", "Song"},
      {"%ARTIST% - %TITLE%", "R.E.M. - Song.flac", false, M::kFits, "R.E.M.", "", "Song"},
      {"%ARTIST% - %TITLE%", "Song.Remix.flac", false, M::kTextMissing, "", "", "", "", "", " - "},
      {"%TITLE%", "Song.Remix.flac", false, M::kFits, "", "", "Song.Remix"},
      {"%TITLE%", "notes.v2", false, M::kFits, "", "", "notes.v2"},  // no audio extension
      {"%TRACK%. %TITLE%", "01. Title.mp3", false, M::kFits, "", "", "Title", "1"},
      {"%TRACK% - %TITLE%", "001 - Title.mp3", false, M::kFits, "", "", "Title", "1"},
      {"%TRACK% %TITLE%", "101 Title.ogg", false, M::kFits, "", "", "Title", "101"},
      {"%TRACK% %TITLE%", "00 Hidden.ogg", false, M::kFits, "", "", "Hidden", "0"},
      {"%TRACK% - %TITLE%", "Intro - Title.mp3", false, M::kNoDigits, "", "", "", "", "",
       "%TRACK%"},
      {"%SKIP%_%TRACK%_%TITLE%", "Track_01_The_Intro.mp3", true, M::kFits, "", "", "The Intro",
       "1"},
      {"%ARTIST% - %TITLE%", "A \xEF\xBC\x8D B.mp3", false, M::kTextMissing, "", "", "", "", "",
       " - "},  // a fullwidth hyphen is no hyphen
      {"%artist% - %TITLE% (LIVE)", "X - Y (live).mp3", false, M::kFits, "X", "", "Y"},
      {"%ARTIST% - %ALBUM% - %TRACK% - %TITLE%", "Band - Greatest - Hits - 03 - Song.mp3", false,
       M::kNoDigits, "Band", "Greatest", "", "", "", "%TRACK%"},
      {"%ARTIST%\\%ALBUM%\\%TRACK% - %TITLE%", "D:\\Music\\Band\\Live 1999\\07 - Song.mp3", false,
       M::kFits, "Band", "Live 1999", "Song", "7"},
      {"%ARTIST%\\%ALBUM%\\%TITLE%", "C:\\Song.mp3", false, M::kTooFewFolders},
      {"%ARTIST%\\%TITLE%", "C:\\Song.mp3", false, M::kTooFewFolders},
      {"%YEAR% - %TITLE%", "1999 - Song.mp3", false, M::kFits, "", "", "Song", "", "1999"},
      {"%YEAR% - %TITLE%", "99 - Song.mp3", false, M::kNoDigits, "", "", "", "", "", "%YEAR%"},
      {"%TRACK%", "07 Song.mp3", false, M::kNameGoesOn, "", "", "", "7", "", " Song"},
      {"%ARTIST%%TITLE%", "AB.mp3", false, M::kPatternRefused},
      {"%TRACK%%TITLE%", "07Song.mp3", false, M::kFits, "", "", "Song", "7"},
      {"no macro", "no macro.mp3", false, M::kPatternRefused},
      {"%ARTIST% -  %TITLE%", " Spaced  -    Out .mp3", false, M::kFits, "Spaced", "", "Out"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern + " on " + c.path);
    const NameMatch match = MatchName(ReadNamePattern(c.pattern), c.path, c.underscores);
    EXPECT_EQ(match.misfit, c.misfit);
    EXPECT_EQ(match.at, c.at);
    EXPECT_EQ(match.values[kArtistName], c.artist);
    EXPECT_EQ(match.values[kAlbumName], c.album);
    EXPECT_EQ(match.values[kTitleName], c.title);
    EXPECT_EQ(match.values[kTrackName], c.track);
    EXPECT_EQ(match.values[kYearName], c.year);
  }
  EXPECT_EQ(MatchName(ReadNamePattern("%ARTIST%\\%TITLE%"), "C:\\x\\Band\\Song.flac", false).name,
            "Band\\Song");
}
}  // namespace

TEST(NamePattern, NamesEachMacroOnceInItsFirstOrderSkipAside) {
  EXPECT_EQ(NamedMacros(ReadNamePattern("%ARTIST%\\%SKIP%\\%TRACK% - %TITLE% (%ARTIST%)")),
            (std::vector<NameMacro>{kArtistName, kTrackName, kTitleName}));
}
