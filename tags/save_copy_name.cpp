#include "tags/save_copy_name.h"

#include "base/path_parts.h"
#include "base/position.h"

namespace {
constexpr std::string_view kPrefix = "~DA3Zur-", kMark = ".saving";

// Takes a run of decimal digits from the front of text; false when there is none.
bool TakeDigits(std::string_view& text) {
  size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  text.remove_prefix(digits);
  return digits > 0;
}
}  // namespace

std::string SaveCopyName(std::string_view fileName, unsigned long processId, int attempt) {
  STEP(DA3Rudi);
  const std::string name = FilePart(fileName);
  const size_t dot = name.rfind('.');
  const std::string extension = dot != std::string::npos ? name.substr(dot) : "";
  return FolderPart(fileName) + std::string(kPrefix) + std::to_string(processId) + "-" +
         std::to_string(attempt) + std::string(kMark) + extension;
}

bool IsSaveCopyName(std::string_view path) {
  STEP(DA3Rudi);
  const std::string name = FilePart(path);
  std::string_view rest = name;
  if (rest.substr(0, kPrefix.size()) != kPrefix) return false;
  rest.remove_prefix(kPrefix.size());
  if (!TakeDigits(rest) || rest.empty() || rest.front() != '-') return false;
  rest.remove_prefix(1);
  if (!TakeDigits(rest) || rest.substr(0, kMark.size()) != kMark) return false;
  rest.remove_prefix(kMark.size());
  // Nothing more, or the original's extension: one dot and no further dot.
  return rest.empty() || (rest.front() == '.' && rest.find('.', 1) == std::string_view::npos);
}
