// UrlEncode and CrashMailAddress on arbitrary bytes: the encoding decodes back to the input, holds
// only safe characters and %XX escapes, and the body of the mail address holds no raw ampersand.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/crash_report.h"

namespace {
void Check(bool holds) {
  if (!holds) std::abort();
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;  // lower-case digits are wrong here too
}

std::string Decode(std::string_view encoded) {
  std::string text;
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] != '%') {
      text += encoded[i];
      continue;
    }
    Check(i + 2 < encoded.size());
    int high = HexValue(encoded[i + 1]), low = HexValue(encoded[i + 2]);
    Check(high >= 0 && low >= 0);
    text += char(high * 16 + low);
    i += 2;
  }
  return text;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string encoded = UrlEncode(input);
  Check(Decode(encoded) == input);
  for (char c : encoded) Check(c > ' ' && c < 127 && c != '"' && c != ' ' && c != '\\');

  const std::string prefix = CrashMailAddress("");
  std::string address = CrashMailAddress(input);
  Check(address.compare(0, prefix.size(), prefix) == 0);
  std::string_view body = std::string_view(address).substr(prefix.size());
  Check(body.find('&') == std::string_view::npos);
  Check(Decode(body) == input);  // the report's ampersands come back from their %26
  return 0;
}
