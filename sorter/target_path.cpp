#include "sorter/target_path.h"

#include "base/path_parts.h"
#include "base/position.h"
#include "base/text_util.h"

namespace {
constexpr std::string_view kSeparators = "\\/";
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A text with a mark per character: true where the character came from a tag value.
struct MarkedText {
  std::string text;
  std::vector<bool> fromTag;

  void Append(std::string_view part, bool tag) {
    text += part;
    fromTag.insert(fromTag.end(), part.size(), tag);
  }
  void Append(const MarkedText& other, size_t begin, size_t end) {
    text.append(other.text, begin, end - begin);
    fromTag.insert(fromTag.end(), other.fromTag.begin() + std::ptrdiff_t(begin),
                   other.fromTag.begin() + std::ptrdiff_t(end));
  }
};

// One left-to-right pass: every occurrence of macro becomes value; the scan goes on after the
// inserted text, so an insertion is never searched again within the same pass.
void ReplaceAll(MarkedText& marked, std::string_view macro, std::string_view value, bool tag) {
  MarkedText out;
  size_t done = 0;
  for (size_t at = marked.text.find(macro); at != std::string::npos;
       at = marked.text.find(macro, done)) {
    out.Append(marked, done, at);
    out.Append(value, tag);
    done = at + macro.size();
  }
  out.Append(marked, done, marked.text.size());
  marked = std::move(out);
}

// Every run of backslashes becomes one, as repeating "replace each pair by one" would leave it,
// and so does a run that mixes in slashes (a value part left empty between two separators); a lone
// slash stays. A network path (a pattern that begins with two backslashes) keeps its leading pair.
void CollapseBackslashes(MarkedText& marked, bool networkPath) {
  MarkedText out;
  for (size_t i = 0; i < marked.text.size(); ++i) {
    const bool repeated = i > 0 && IsSeparator(marked.text[i]) && IsSeparator(marked.text[i - 1]);
    if (!repeated || (networkPath && i == 1)) {
      out.Append(marked, i, i + 1);
    } else if (marked.text[i] == '\\' || marked.text[i - 1] == '\\') {
      out.text.back() = '\\';
    }
  }
  marked = std::move(out);
}

bool IsDotsAndSpaces(std::string_view segment) {
  return segment.find('.') != std::string_view::npos &&
         segment.find_first_not_of(". ") == std::string_view::npos;
}

// The length of the device name that the segment stands for (CON, PRN, AUX, NUL, COM1-COM9,
// LPT1-LPT9 in any case, alone or before spaces or a dot), or 0 when it names none.
size_t DeviceNameLength(std::string_view segment) {
  static constexpr std::string_view kPlain[] = {"CON", "PRN", "AUX", "NUL"};
  static constexpr std::string_view kNumbered[] = {"COM", "LPT"};
  size_t length = 0;
  for (std::string_view name : kPlain)
    if (EqualsIgnoringAsciiCase(segment.substr(0, 3), name)) length = 3;
  for (std::string_view name : kNumbered)
    if (EqualsIgnoringAsciiCase(segment.substr(0, 3), name) && segment.size() > 3 &&
        segment[3] >= '1' && segment[3] <= '9')
      length = 4;
  if (length == 0) return 0;
  size_t rest = segment.find_first_not_of(' ', length);
  return rest == std::string_view::npos || segment[rest] == '.' ? length : 0;
}

// Within every segment that holds tag text: tag characters at its ends lose spaces at the start
// and dots and spaces at the end (Windows drops those only from the last level of a path, so a
// folder "AC " would be created as "AC" and the deeper path through "AC \" never found); what is
// left of dots and spaces only has its tag characters replaced by _, and a device name gets _
// after the name. Segments of pattern text alone stay.
void GuardSegments(MarkedText& marked) {
  MarkedText out;
  size_t begin = 0;
  while (begin <= marked.text.size()) {
    size_t end = marked.text.find_first_of(kSeparators, begin);
    if (end == std::string::npos) end = marked.text.size();
    const size_t next = end;
    while (begin < end && marked.fromTag[begin] && marked.text[begin] == ' ') ++begin;
    while (end > begin && marked.fromTag[end - 1] &&
           (marked.text[end - 1] == ' ' || marked.text[end - 1] == '.'))
      --end;
    std::string_view segment = std::string_view(marked.text).substr(begin, end - begin);
    bool hasTag = false;
    for (size_t i = begin; i < end; ++i) hasTag = hasTag || marked.fromTag[i];
    if (hasTag && IsDotsAndSpaces(segment)) {
      for (size_t i = begin; i < end; ++i) {
        const char c = marked.fromTag[i] ? '_' : marked.text[i];
        out.Append(std::string_view(&c, 1), marked.fromTag[i]);
      }
    } else if (size_t name = hasTag ? DeviceNameLength(segment) : 0) {
      out.Append(marked, begin, begin + name);
      out.Append("_", true);
      out.Append(marked, begin + name, end);
    } else {
      out.Append(marked, begin, end);
    }
    if (next == marked.text.size()) break;
    out.Append(marked, next, next + 1);
    begin = next + 1;
  }
  marked = std::move(out);
}

}  // namespace

const Macro kMacros[9] = {
    {"*", kTextBaseNameMacro, [](auto source, auto&) { return BaseNamePart(source); }, false},
    {"$", kTextExtensionMacro, [](auto source, auto&) { return ExtensionPart(source); }, false},
    {"%TITLE%", kTextTitleMacro, [](auto, auto& tags) { return CleanTagValue(tags.title); }, true},
    {"%ARTIST%", kTextArtistMacro, [](auto, auto& tags) { return CleanTagValue(tags.artist); },
     true},
    {"%ALBUM%", kTextAlbumMacro, [](auto, auto& tags) { return CleanTagValue(tags.album); }, true},
    {"%YEAR%", kTextYearMacro, [](auto, auto& tags) { return std::to_string(tags.year); }, true},
    {"%COMMENT%", kTextCommentMacro, [](auto, auto& tags) { return CleanTagValue(tags.comment); },
     true},
    {"%TRACK%", kTextTrackMacro, [](auto, auto& tags) { return std::to_string(tags.track); }, true},
    {"%GENRE%", kTextGenreMacro, [](auto, auto& tags) { return CleanTagValue(tags.genre); }, true},
};

std::string PatternForFolder(std::string folder) {
  STEP(Sorter);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder + kPatternTail;
}

std::string DefaultPattern(std::string_view currentDirectory, std::string_view firstFile) {
  std::string folder(currentDirectory.empty() ? FolderPart(firstFile) : currentDirectory);
  return folder.empty() ? kPatternTail : PatternForFolder(folder);
}

std::string CleanTagValue(std::string_view value) {
  STEP(Sorter);
  MarkedText marked;
  marked.Append(value, true);
  for (char& c : marked.text)
    if ((c >= 1 && c <= 31) || std::string_view("<>:\"|?*").find(c) != std::string_view::npos)
      c = '_';
  GuardSegments(marked);
  return marked.text;
}

std::string BuildTargetPath(std::string_view pattern, std::string_view source,
                            const TagInfo& tags) {
  STEP(Sorter);
  MarkedText marked;
  marked.Append(pattern, false);
  // A macro the text does not hold costs nothing: its value is not even worked out.
  for (const Macro& macro : kMacros)
    if (marked.text.find(macro.text) != std::string::npos)
      ReplaceAll(marked, macro.text, macro.value(source, tags), macro.fromTag);
  STEP(Sorter);
  // Tag text can meet pattern text or other tag text (a title that holds %ALBUM% with an empty
  // album leaves the title's own dots alone in a segment); check the segments as they now stand.
  // A segment left empty collapses with its separator like an empty value.
  GuardSegments(marked);
  CollapseBackslashes(marked, pattern.substr(0, 2) == "\\\\");
  return marked.text;
}

std::vector<FolderLevel> FolderChain(std::string_view folder) {
  STEP(Sorter);
  std::vector<FolderLevel> levels;
  if (folder.empty()) return levels;
  std::string text(folder);
  for (char& c : text)
    if (c == '/') c = '\\';
  if (text.back() != '\\') text += '\\';
  for (size_t at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 1)) {
    std::string prefix = text.substr(0, at + 1);
    size_t keep = prefix.find_last_not_of(" /\\");
    levels.push_back(
        {prefix, keep == std::string::npos ? std::string() : prefix.substr(0, keep + 1)});
  }
  return levels;
}

std::string BrowseStartFolder(std::string text) {
  if (text.size() > 3 && text.back() == '\\') text.pop_back();
  return text;
}
