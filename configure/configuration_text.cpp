#include "configure/configuration_text.h"

#include "base/position.h"

std::string ExpandLineBreaks(std::string_view text) {
  STEP(Configure);
  std::string expanded;
  expanded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      expanded += "\r\n";
      ++i;
    } else {
      expanded += text[i];
    }
  }
  return expanded;
}

std::string VerbCommandLine(std::string_view programPath, std::string_view modeSwitch) {
  STEP(Configure);
  std::string line = "\"";
  line += programPath;
  line += "\" ";
  line += modeSwitch;
  line += " \"%1\"";
  return line;
}

std::optional<size_t> FindLanguageItem(const std::vector<std::string>& items,
                                       std::string_view language) {
  STEP(Configure);
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] == language) return i;
  return std::nullopt;
}
