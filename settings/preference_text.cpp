#include "settings/preference_text.h"

#include "base/position.h"
#include "base/text_util.h"

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsBreak(char c) { return c == '\r' || c == '\n'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

PreferenceText::Entry ParseLine(std::string_view line) {
  using Kind = PreferenceText::Kind;
  if (line.front() == ';') {
    line.remove_prefix(1);
    if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    return {Kind::Comment, std::string(line), {}};
  }
  if (line.front() == '[') {
    line.remove_prefix(1);
    return {Kind::Group, std::string(line.substr(0, line.find(']'))), {}};
  }
  size_t equals = line.find('=');
  std::string_view key = line.substr(0, equals);
  while (!key.empty() && IsBlank(key.back())) key.remove_suffix(1);
  std::string_view value;
  if (equals != std::string_view::npos) {
    value = line.substr(equals + 1);
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
  }
  return {Kind::Key, std::string(key), std::string(value)};
}
}  // namespace

PreferenceText PreferenceText::Parse(std::string_view file, const CodePage& codePage) {
  STEP(DA3Rudi);
  PreferenceText result;
  std::string decoded;
  std::string_view bytes = file;
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    result.utf8_ = true;
    bytes.remove_prefix(kByteOrderMark.size());
  } else if (!IsAscii(bytes)) {
    decoded = codePage.toUtf8(bytes);
    bytes = decoded;
  }
  size_t i = 0;
  while (i < bytes.size()) {
    size_t end = i;
    while (end < bytes.size() && !IsBreak(bytes[end])) ++end;
    std::string_view line = bytes.substr(i, end - i);
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    if (!line.empty()) result.entries_.push_back(ParseLine(line));
    i = end;
    while (i < bytes.size() && IsBreak(bytes[i])) ++i;
  }
  return result;
}

const PreferenceText::Entry* PreferenceText::Find(std::string_view key) const {
  STEP(DA3Rudi);
  for (const Entry& entry : entries_) {
    if (entry.kind == Kind::Group) break;
    if (entry.kind == Kind::Key && EqualsIgnoringAsciiCase(entry.name, key)) return &entry;
  }
  return nullptr;
}

std::string PreferenceText::ReadString(std::string_view key, std::string_view fallback) const {
  STEP(DA3Rudi);
  const Entry* entry = Find(key);
  if (!entry) return std::string(fallback);
  return std::string(TrimBlanks(entry->value));
}

std::int32_t PreferenceText::ReadInteger(std::string_view key, std::int32_t fallback) const {
  STEP(DA3Rudi);
  const Entry* entry = Find(key);
  return entry ? ParseLeadingInteger(entry->value) : fallback;
}

void PreferenceText::WriteString(std::string_view key, std::string_view value) {
  STEP(DA3Rudi);
  if (auto* entry = const_cast<Entry*>(Find(key))) {
    entry->name = key;
    entry->value = value;
    return;
  }
  auto firstGroup = entries_.begin();
  while (firstGroup != entries_.end() && firstGroup->kind != Kind::Group) ++firstGroup;
  entries_.insert(firstGroup, Entry{Kind::Key, std::string(key), std::string(value)});
}

void PreferenceText::WriteInteger(std::string_view key, std::int32_t value) {
  WriteString(key, std::to_string(value));
}

std::string PreferenceText::Serialize() const {
  STEP(DA3Rudi);
  std::string text;
  for (const Entry& entry : entries_) {
    switch (entry.kind) {
      case Kind::Comment:
        text += "; " + entry.name;
        break;
      case Kind::Group:
        text += "[" + entry.name + "]";
        break;
      case Kind::Key:
        text += entry.name + " = " + entry.value;
        break;
    }
    text += "\r\n";
  }
  return text;
}

std::string PreferenceText::FileBytes(const CodePage& codePage) const {
  STEP(DA3Rudi);
  const std::string text = Serialize();
  if (IsAscii(text)) return text;
  if (std::optional<std::string> bytes = codePage.fromUtf8(text)) return *bytes;
  return std::string(kByteOrderMark) + text;
}
