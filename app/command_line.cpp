#include "app/command_line.h"

#include "base/position.h"
#include "base/text_util.h"

std::vector<std::string> SplitCommandLine(std::string_view line) {
  STEP(DA3Rudi);
  std::vector<std::string> words;
  size_t i = 0;
  while (true) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size()) break;
    if (line[i] == '"') {
      size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos) close = line.size();
      words.emplace_back(line.substr(i + 1, close - i - 1));
      i = close + 1;
    } else {
      size_t end = line.find(' ', i);
      if (end == std::string_view::npos) end = line.size();
      words.emplace_back(line.substr(i, end - i));
      i = end;
    }
  }
  return words;
}

Arguments::Arguments(std::string_view commandLine) : words_(SplitCommandLine(commandLine)) {
  if (!words_.empty()) words_.erase(words_.begin());
}

const std::string& Arguments::operator[](size_t i) const {
  static const std::string empty;
  return i < words_.size() ? words_[i] : empty;
}

Mode ChooseMode(const Arguments& args) {
  STEP(DA3Rudi);
  if (args.Count() == 0) return Mode::Configure;
  if (args[0] == "-edit") return Mode::Edit;
  if (args[0] == "-sort") return Mode::Sort;
  if (EqualsIgnoringAsciiCase(args[0], "-Embedding") ||
      EqualsIgnoringAsciiCase(args[0], "/Embedding"))
    return Mode::Verb;
  return Mode::Configure;
}

std::vector<std::string> ModePaths(const Arguments& args) {
  STEP(DA3Rudi);
  std::vector<std::string> paths;
  for (size_t i = 1; i < args.Count(); ++i) {
    std::string path = TrimSpaces(args[i]);
    if (!path.empty()) paths.push_back(std::move(path));
  }
  return paths;
}
