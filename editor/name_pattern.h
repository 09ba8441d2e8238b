// Tag fields read from file names by a pattern such as "%ARTIST%\%ALBUM%\%TRACK% - %TITLE%": the
// sorter's macros, %SKIP% for text to pass over, and a backslash for each folder above the file
// that the pattern names.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_fields.h"
#include "settings/text_table.h"

// The macros a name pattern knows, in the order of the preview's columns; kSkipName is read and
// dropped.
enum NameMacro : size_t {
  kArtistName,
  kAlbumName,
  kTitleName,
  kTrackName,
  kYearName,
  kGenreName,
  kCommentName,
  kSkipName,
  kNameMacroCount
};
inline constexpr std::string_view kNameMacros[kNameMacroCount] = {
    "%ARTIST%", "%ALBUM%", "%TITLE%", "%TRACK%", "%YEAR%", "%GENRE%", "%COMMENT%", "%SKIP%"};
// The editor's field each macro fills (kSkipName: none).
inline constexpr TagField kMacroFields[kSkipName] = {kArtistTag, kAlbumTag, kTitleTag,  kTrackTag,
                                                     kYearTag,   kGenreTag, kCommentTag};

// A pattern read into its parts: literal texts and macros, left to right.
struct NamePattern {
  struct Part {
    std::optional<NameMacro> macro;  // else the literal text
    std::string text;
  };
  std::vector<Part> parts;
  size_t folders = 0;  // the folders above the file that the pattern names
  // Why the pattern reads no name; kNone when it reads.
  enum Refusal { kNone, kNoMacro, kSideBySide } refusal = kNone;
};
NamePattern ReadNamePattern(std::string_view pattern);
// The macros the pattern names, %SKIP% aside, each once, in their first order.
std::vector<NameMacro> NamedMacros(const NamePattern& pattern);

// What one file's name gives: the values found (empty: the field stays as it is) and the part of
// the name the pattern read; where it does not fit, why, and the values found before that.
struct NameMatch {
  // Why a name does not fit: a literal not found (at: the literal), no digits where %TRACK% or
  // four where %YEAR% stands (at: the macro), fewer folders than the pattern names, text left
  // after the pattern's end (at: that text).
  // A refused pattern fits no name.
  enum Misfit {
    kFits,
    kTextMissing,
    kNoDigits,
    kTooFewFolders,
    kNameGoesOn,
    kPatternRefused
  } misfit = kFits;
  std::string at;
  std::array<std::string, kNameMacroCount> values;
  std::string name;  // the file's name with the folders the pattern names, its audio extension off
  bool matched() const { return misfit == kFits; }
};
// Left to right, never going back: a text macro ends at the first occurrence of the literal that
// follows it (in any capitals), the last one takes the rest; %TRACK% takes digits (leading zeros
// dropped), %YEAR% four digits. Only an audio extension is taken off. Underscores become spaces
// where asked, then spaces at both ends of each value go.
NameMatch MatchName(const NamePattern& pattern, std::string_view path, bool underscoresAreSpaces);

// The preview's text for a name that does not fit: "Does not match: " and why; for a refused
// pattern, why the pattern reads no name.
std::string MisfitText(const TextTable& texts, const NameMatch& match);
std::string RefusalText(const TextTable& texts, const NamePattern& pattern);
