#include "editor/name_pattern.h"

#include <algorithm>

#include "base/path_parts.h"
#include "base/text_util.h"
#include "tags/audio_files.h"

namespace {
bool IsDigitMacro(NameMacro macro) { return macro == kTrackName || macro == kYearName; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Where the literal first stands in the name from the given place on, in any capitals; npos where
// it does not.
size_t FindLiteral(std::string_view name, std::string_view literal, size_t from) {
  for (size_t at = from; at + literal.size() <= name.size(); ++at)
    if (std::equal(literal.begin(), literal.end(), name.begin() + std::ptrdiff_t(at),
                   [](char a, char b) { return Lower(a) == Lower(b); }))
      return at;
  return std::string_view::npos;
}

// The name the pattern reads: the file's name without its audio extension, after as many of its
// folders as the pattern names; nothing where the path has fewer.
std::optional<std::string> NameToRead(std::string_view path, size_t folders) {
  std::string name(path);
  std::replace(name.begin(), name.end(), '/', '\\');
  if (IsAudioFile(name)) name.resize(name.size() - ExtensionPart(name).size() - 1);
  size_t start = name.size();
  for (size_t level = 0; level <= folders; ++level) {
    const size_t slash = start == 0 ? std::string::npos : name.rfind('\\', start - 1);
    // The name's first part is a folder only where it is no drive ("C:") nor empty (a root).
    if (slash == std::string::npos) {
      const std::string_view first = std::string_view(name).substr(0, start);
      if (level < folders || first.empty() || first.back() == ':') return std::nullopt;
      return name;
    }
    start = slash;
  }
  return name.substr(start + 1);
}

std::string Cleaned(std::string value, bool underscoresAreSpaces) {
  if (underscoresAreSpaces) std::replace(value.begin(), value.end(), '_', ' ');
  return TrimSpaces(value);
}
}  // namespace

NamePattern ReadNamePattern(std::string_view pattern) {
  NamePattern read;
  bool macros = false;
  for (size_t at = 0; at < pattern.size();) {
    const auto macro = std::ranges::find_if(kNameMacros, [&](std::string_view name) {
      return FindLiteral(pattern.substr(at, name.size()), name, 0) == 0;
    });
    if (macro != std::end(kNameMacros)) {
      const NameMacro which = NameMacro(macro - std::begin(kNameMacros));
      // A macro right after a text macro leaves that one no end: refused. After a number, the
      // next starts where its digits end.
      if (!read.parts.empty() && read.parts.back().macro && !IsDigitMacro(*read.parts.back().macro))
        read.refusal = NamePattern::kSideBySide;
      read.parts.push_back({which, ""});
      macros = true;
      at += macro->size();
      continue;
    }
    if (pattern[at] == '\\') ++read.folders;
    if (read.parts.empty() || read.parts.back().macro) read.parts.push_back({std::nullopt, ""});
    read.parts.back().text += pattern[at++];
  }
  if (!macros && read.refusal == NamePattern::kNone) read.refusal = NamePattern::kNoMacro;
  return read;
}

NameMatch MatchName(const NamePattern& pattern, std::string_view path, bool underscoresAreSpaces) {
  NameMatch match;
  if (pattern.refusal != NamePattern::kNone) {
    match.misfit = NameMatch::kPatternRefused;
    return match;
  }
  const std::optional<std::string> name = NameToRead(path, pattern.folders);
  if (!name) {
    match.misfit = NameMatch::kTooFewFolders;
    match.name = FilePart(std::string(path));
    return match;
  }
  match.name = *name;
  size_t at = 0;
  for (size_t i = 0; i < pattern.parts.size(); ++i) {
    const NamePattern::Part& part = pattern.parts[i];
    if (!part.macro) {
      if (FindLiteral(*name, part.text, at) != at) {
        match.misfit = NameMatch::kTextMissing;
        match.at = part.text;
        return match;
      }
      at += part.text.size();
      continue;
    }
    std::string value;
    if (IsDigitMacro(*part.macro)) {
      size_t end = at;
      while (end < name->size() && (*name)[end] >= '0' && (*name)[end] <= '9') ++end;
      if (end == at || (*part.macro == kYearName && end - at != 4)) {
        match.misfit = NameMatch::kNoDigits;
        match.at = kNameMacros[*part.macro];
        return match;
      }
      value = name->substr(at, end - at);
      if (*part.macro == kTrackName)
        value.erase(0, std::min(value.find_first_not_of('0'), value.size() - 1));
      at = end;
    } else {
      // Ends at the next literal (a pattern that reads has one there); the last part takes the
      // rest.
      const bool last = i + 1 == pattern.parts.size();
      const size_t end = last ? name->size() : FindLiteral(*name, pattern.parts[i + 1].text, at);
      if (end == std::string::npos) {
        match.misfit = NameMatch::kTextMissing;
        match.at = pattern.parts[i + 1].text;
        return match;
      }
      value = name->substr(at, end - at);
      at = end;
    }
    match.values[*part.macro] = Cleaned(value, underscoresAreSpaces);
  }
  if (at < name->size()) {
    match.misfit = NameMatch::kNameGoesOn;
    match.at = name->substr(at);
  }
  return match;
}

std::vector<NameMacro> NamedMacros(const NamePattern& pattern) {
  std::vector<NameMacro> macros;
  for (const NamePattern::Part& part : pattern.parts)
    if (part.macro && *part.macro != kSkipName &&
        std::ranges::find(macros, *part.macro) == macros.end())
      macros.push_back(*part.macro);
  return macros;
}

std::string MisfitText(const TextTable& texts, const NameMatch& match) {
  std::string why;
  switch (match.misfit) {
    case NameMatch::kFits:
      return "";
    case NameMatch::kTextMissing:
      why = FillIn(texts[kTextNameTextMissing], "%1", match.at);
      break;
    case NameMatch::kNoDigits:
      why = FillIn(texts[kTextNameNoDigits], "%1", match.at);
      break;
    case NameMatch::kTooFewFolders:
      why = texts[kTextNameTooFewFolders];
      break;
    case NameMatch::kNameGoesOn:
      why = FillIn(texts[kTextNameGoesOn], "%1", match.at);
      break;
    case NameMatch::kPatternRefused:
      return texts[kTextDoesNotMatch];
  }
  return texts[kTextDoesNotMatch] + ": " + why;
}

std::string RefusalText(const TextTable& texts, const NamePattern& pattern) {
  if (pattern.refusal == NamePattern::kSideBySide) return texts[kTextNameSideBySide];
  return pattern.refusal == NamePattern::kNoMacro ? texts[kTextNameNoMacro] : "";
}
