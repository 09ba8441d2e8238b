#include "sorter/target_path.h"

#include <algorithm>
#include <array>
#include <optional>

#include "base/path_parts.h"
#include "base/position.h"
#include "base/text_util.h"

namespace {
bool IsSeparator(char c) { return c == '\\' || c == '/'; }
bool DroppedAtEnd(char c) { return c == ' ' || c == '.'; }

// The length of the device name that the level stands for (CON, PRN, AUX, NUL, COM1-COM9,
// LPT1-LPT9 in any case, alone or before spaces or a dot), or 0 when it names none.
size_t DeviceNameLength(std::string_view level) {
  static constexpr std::string_view kPlain[] = {"CON", "PRN", "AUX", "NUL"};
  static constexpr std::string_view kNumbered[] = {"COM", "LPT"};
  size_t length = 0;
  for (std::string_view name : kPlain)
    if (EqualsIgnoringAsciiCase(level.substr(0, 3), name)) length = 3;
  for (std::string_view name : kNumbered)
    if (EqualsIgnoringAsciiCase(level.substr(0, 3), name) && level.size() > 3 && level[3] >= '1' &&
        level[3] <= '9')
      length = 4;
  if (length == 0) return 0;
  size_t rest = level.find_first_not_of(' ', length);
  return rest == std::string_view::npos || level[rest] == '.' ? length : 0;
}

// Writes a target level by level straight into its text: a level is finished (trimmed and
// guarded) when a separator or the end comes, and a separator is written only after a level that
// left something, so runs collapse and empty levels vanish with their separator.
class TargetWriter {
 public:
  TargetWriter(size_t size, bool network) {
    out_.reserve(size + 64);
    if (network) out_ = "\\\\";
    start_ = out_.size();
  }

  void Pattern(char c) {
    if (IsSeparator(c))
      Separator();
    else
      out_ += c;
  }

  // A macro's value: the level it stands in is no longer pattern text alone, nor is any level
  // that a separator inside the value begins.
  void Value(std::string_view value, bool tag) {
    plain_ = false;
    for (char c : value) {
      if (IsSeparator(c)) {
        Separator();
        plain_ = false;
      } else if (!tag) {
        out_ += c;
      } else if (c != ' ' || out_.size() > start_) {  // a tag's spaces at a level's start go
        if (firstTag_ == std::string::npos) firstTag_ = out_.size();
        out_ += c;
      }
    }
  }

  std::string Finish() {
    EndLevel();
    return std::move(out_);
  }

 private:
  void Separator() {
    EndLevel();
    if (out_.empty() || out_.back() != '\\') out_ += '\\';
    start_ = out_.size();
    firstTag_ = std::string::npos;
    plain_ = true;
  }

  // Windows drops a level's trailing spaces and dots, so a folder "AC " would be made as "AC" and
  // the deeper path through "AC \" never found; only a . or .. written as a whole level keeps its
  // meaning. A level holding tag text that names a device gets _ after the name.
  void EndLevel() {
    const std::string_view level = std::string_view(out_).substr(start_);
    if (plain_ && (level == "." || level == "..")) return;
    size_t end = out_.size();
    while (end > start_ && DroppedAtEnd(out_[end - 1])) --end;
    out_.resize(end);
    if (firstTag_ < end)
      if (size_t name = DeviceNameLength(std::string_view(out_).substr(start_)))
        out_.insert(start_ + name, 1, '_');
  }

  std::string out_;
  size_t start_ = 0;                     // where the current level begins in out_
  size_t firstTag_ = std::string::npos;  // its first character from a tag value
  bool plain_ = true;                    // whether it is pattern text alone so far
};

// The index in kMacros of the macro that begins the text, if any.
std::optional<size_t> MacroAt(std::string_view text) {
  if (text[0] == '*') return 0;
  if (text[0] == '$') return 1;
  if (text[0] != '%') return std::nullopt;
  for (size_t i = 2; i < std::size(kMacros); ++i)
    if (text.starts_with(kMacros[i].text)) return i;
  return std::nullopt;
}

std::string Build(std::string_view text, size_t literal, std::string_view source,
                  const TagInfo& tags) {
  STEP(Sorter);
  const bool network = text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1]);
  TargetWriter writer(text.size(), network);
  size_t at = network ? 2 : 0;
  literal = std::min(literal, text.size());
  for (; at < literal; ++at) writer.Pattern(text[at]);
  // Values are worked out once, and only for the macros the pattern holds.
  std::array<std::optional<std::string>, std::size(kMacros)> values;
  while (at < text.size()) {
    const std::optional<size_t> macro = MacroAt(text.substr(at));
    if (!macro) {
      writer.Pattern(text[at++]);
      continue;
    }
    std::optional<std::string>& value = values[*macro];
    if (!value) value = kMacros[*macro].value(source, tags);
    writer.Value(*value, kMacros[*macro].fromTag);
    at += std::char_traits<char>::length(kMacros[*macro].text);
  }
  return writer.Finish();
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

std::string PatternForFolder(std::string folder) { return PatternForFolderLiteral(folder).text; }

TargetPattern PatternForFolderLiteral(std::string folder) {
  STEP(Sorter);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  const size_t literal = folder.size();
  return {folder + kPatternTail, literal};
}

TargetPattern DefaultPattern(std::string_view currentDirectory, std::string_view firstFile) {
  std::string folder(currentDirectory.empty() ? FolderPart(firstFile) : currentDirectory);
  return folder.empty() ? TargetPattern{kPatternTail} : PatternForFolderLiteral(folder);
}

std::string CleanTagValue(std::string_view value) {
  STEP(Sorter);
  std::string out;
  out.reserve(value.size() + 1);
  for (size_t begin = 0;;) {
    size_t end = value.find_first_of("\\/", begin);
    if (end == std::string_view::npos) end = value.size();
    std::string_view part = value.substr(begin, end - begin);
    while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
    while (!part.empty() && DroppedAtEnd(part.back())) part.remove_suffix(1);
    const size_t start = out.size();
    for (char c : part)
      out += (c >= 1 && c <= 31) || std::string_view("<>:\"|?*").find(c) != std::string_view::npos
                 ? '_'
                 : c;
    if (size_t name = DeviceNameLength(std::string_view(out).substr(start)))
      out.insert(start + name, 1, '_');
    if (end == value.size()) return out;
    out += value[end];
    begin = end + 1;
  }
}

std::string BuildTargetPath(const TargetPattern& pattern, std::string_view source,
                            const TagInfo& tags) {
  return Build(pattern.text, pattern.literal, source, tags);
}

std::string BuildTargetPath(std::string_view pattern, std::string_view source,
                            const TagInfo& tags) {
  return Build(pattern, 0, source, tags);
}

std::vector<FolderLevel> FolderChain(std::string_view folder) {
  STEP(Sorter);
  std::vector<FolderLevel> levels;
  if (folder.empty()) return levels;
  std::string text(folder);
  for (char& c : text)
    if (c == '/') c = '\\';
  if (text.back() != '\\') text += '\\';
  // A network path's first four backslashes end \, \\, \\server\ and \\server\share\.
  size_t skipped = text.starts_with("\\\\") ? 4 : 0;
  for (size_t at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 1)) {
    if (skipped > 0) {
      --skipped;
      continue;
    }
    std::string prefix = text.substr(0, at + 1);
    size_t keep = prefix.find_last_not_of(" \\");
    if (keep == std::string::npos) continue;  // a root
    levels.push_back({prefix, prefix.substr(0, keep + 1)});
  }
  return levels;
}

std::string BrowseStartFolder(std::string text) {
  if (text.size() > 3 && text.back() == '\\') text.pop_back();
  return text;
}
