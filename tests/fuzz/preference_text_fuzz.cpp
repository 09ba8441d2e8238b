// The preference parser on arbitrary bytes: no crash, the written form reads back as itself, and
// a value written for a key is the value read for it, also after a trip through the written form.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/preference_text.h"

namespace {
// A code page that takes the bytes as they are and holds every text.
const CodePage kBytesAsTheyAre{
    [](std::string_view bytes) { return std::string(bytes); },
    [](std::string_view utf8) { return std::optional<std::string>(utf8); },
};

void Check(bool holds) {
  if (!holds) std::abort();
}

bool HasBreakOrEdgeBlank(std::string_view value) {
  if (value.find_first_of("\r\n") != std::string_view::npos) return true;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  return !value.empty() && (blank(value.front()) || blank(value.back()));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  PreferenceText text = PreferenceText::Parse(bytes, kBytesAsTheyAre);
  const std::string written = text.Serialize();
  // (With a byte-order mark in front, so that a first key that starts with one stays as it is.)
  Check(PreferenceText::Parse("\xEF\xBB\xBF" + written, kBytesAsTheyAre).Serialize() == written);
  text.ReadString("Language", "English");
  text.ReadInteger("RegisterExtensions", 0);

  // The last line of the input, if it is a plain value, is stored under a key and read back.
  std::string_view value = bytes.substr(bytes.find_last_of("\r\n") + 1);
  if (text.utf8() || HasBreakOrEdgeBlank(value)) return 0;
  text.WriteString("language", value);
  text.WriteInteger("RegisterExtensions", int32_t(size) - 1000);
  Check(text.ReadString("LANGUAGE", "") == value);
  const std::string rewritten = text.FileBytes(kBytesAsTheyAre);
  if (rewritten.rfind("\xEF\xBB\xBF", 0) == 0) return 0;  // would read as a UTF-8 file
  PreferenceText reread = PreferenceText::Parse(rewritten, kBytesAsTheyAre);
  Check(reread.ReadString("Language", "") == value);
  Check(reread.ReadInteger("registerextensions", 0) == int32_t(size) - 1000);
  return 0;
}
