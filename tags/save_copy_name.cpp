#include "tags/save_copy_name.h"

#include <algorithm>

#include "base/path_parts.h"
#include "base/position.h"

namespace {
constexpr std::string_view kPrefix = "~DA3Zur-", kSaveMark = ".saving", kSortMark = ".sorting",
                           kAsideMark = ".replaced";

// Takes a run of decimal digits from the front of text; false when there is none.
bool TakeDigits(std::string_view& text) {
  size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  text.remove_prefix(digits);
  return digits > 0;
}

// Whether one name of a path has the form SetAsideFolderName gives.
bool IsSetAsideFolderPart(std::string_view name) {
  if (name.substr(0, kPrefix.size()) != kPrefix) return false;
  name.remove_prefix(kPrefix.size());
  if (!TakeDigits(name)) return false;
  if (name.empty()) return true;
  if (name.front() != '-') return false;
  name.remove_prefix(1);
  return TakeDigits(name) && name.empty();
}

// The copy's name beside the file, marked and with the file's extension, so TagLib treats a
// save's copy as the same kind of file.
std::string CopyName(std::string_view fileName, unsigned long processId, int attempt,
                     std::string_view mark) {
  STEP(DA3Rudi);
  const std::string name = FilePart(fileName);
  const size_t dot = name.rfind('.');
  const std::string extension = dot != std::string::npos ? name.substr(dot) : "";
  return FolderPart(fileName) + std::string(kPrefix) + std::to_string(processId) + "-" +
         std::to_string(attempt) + std::string(mark) + extension;
}

// The process and the mark of a copy's name; nothing for a name of another form.
std::optional<std::pair<unsigned long, std::string_view>> ParseCopyName(std::string_view path) {
  STEP(DA3Rudi);
  const std::string_view name = path.substr(path.find_last_of("\\/") + 1);
  std::string_view rest = name;
  if (rest.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
  rest.remove_prefix(kPrefix.size());
  const std::string_view process = rest;
  if (!TakeDigits(rest) || rest.empty() || rest.front() != '-') return std::nullopt;
  const std::string_view digits = process.substr(0, process.size() - rest.size());
  rest.remove_prefix(1);
  if (!TakeDigits(rest)) return std::nullopt;
  for (std::string_view mark : {kSaveMark, kSortMark, kAsideMark}) {
    if (rest.substr(0, mark.size()) != mark) continue;
    const std::string_view extension = rest.substr(mark.size());
    // Nothing more, or the file's extension: one dot and no further dot.
    if (!extension.empty() &&
        (extension.front() != '.' || extension.find('.', 1) != std::string_view::npos))
      return std::nullopt;
    unsigned long id = 0;
    for (char c : digits.substr(0, 10)) id = id * 10 + unsigned(c - '0');
    return std::pair{id, mark};
  }
  return std::nullopt;
}
}  // namespace

std::string SaveCopyName(std::string_view fileName, unsigned long processId, int attempt) {
  return CopyName(fileName, processId, attempt, kSaveMark);
}

std::string SortCopyName(std::string_view target, unsigned long processId, int attempt) {
  return CopyName(target, processId, attempt, kSortMark);
}

std::string SetAsideFolderName(unsigned long processId, int attempt) {
  return std::string(kPrefix) + std::to_string(processId) +
         (attempt ? "-" + std::to_string(attempt) : "") + "\\";
}

std::string SetAsideFolderOf(std::string_view path) {
  STEP(DA3Rudi);
  for (size_t start = 0; start < path.size();) {
    const size_t end = std::min(path.find_first_of("\\/", start), path.size());
    if (IsSetAsideFolderPart(path.substr(start, end - start)))
      return std::string(path.substr(0, end)) + "\\";
    start = end + 1;
  }
  return "";
}

bool IsSaveCopyName(std::string_view path) {
  return ParseCopyName(path).has_value() || !SetAsideFolderOf(path).empty();
}

bool IsSetAsideName(std::string_view path) {
  const auto parsed = ParseCopyName(path);
  return parsed && parsed->second == kAsideMark;
}

std::optional<unsigned long> SortCopyProcess(std::string_view path) {
  auto parsed = ParseCopyName(path);
  if (!parsed || parsed->second != kSortMark) return std::nullopt;
  return parsed->first;
}
