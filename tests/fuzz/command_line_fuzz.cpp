// The command-line splitter on arbitrary text: no crash, and the words, written back with quotes
// around every word that holds no quote, split into the same words again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/command_line.h"

namespace {
void Check(bool holds) {
  if (!holds) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> words = SplitCommandLine(text);
  std::string rejoined;
  for (const std::string& word : words) {
    // A word with a quote inside came unquoted, so it holds no space and does not start with one.
    bool quoted = word.find('"') == std::string::npos;
    if (!quoted) Check(word.front() != '"' && word.find(' ') == std::string::npos);
    rejoined += (quoted ? "\"" + word + "\"" : word) + " ";
  }
  Check(SplitCommandLine(rejoined) == words);

  Arguments args(text);
  Check(args.Count() + 1 == words.size() || (words.empty() && args.Count() == 0));
  Check(args[args.Count()].empty());
  Check(ModePaths(args).size() <= args.Count());
  ChooseMode(args);
  return 0;
}
