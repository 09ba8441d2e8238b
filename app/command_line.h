// Splitting the process's 8-bit command line into words, and choosing the mode from them.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// All words of the command line, the program's own path first. Spaces (32 only) separate words;
// a word that starts with a double quote runs to the next quote or the end, and the character after
// a closing quote starts the next word. Quotes inside an unquoted word are ordinary characters.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The arguments: the words after the program's own path, counted from 0.
class Arguments {
 public:
  explicit Arguments(std::string_view commandLine);
  size_t Count() const { return words_.size(); }
  // Argument i, or the empty text beyond the last.
  const std::string& operator[](size_t i) const;

 private:
  std::vector<std::string> words_;
};

enum class Mode { Configure, Edit, Sort, Verb };

// Only exactly "-edit" and "-sort" select those modes; "-Embedding" or "/Embedding", in any case,
// as COM starts the program for an Explorer verb, selects the verb mode; anything else opens the
// configuration.
Mode ChooseMode(const Arguments& args);

// The paths that follow the mode switch, trimmed of spaces, empty ones dropped.
std::vector<std::string> ModePaths(const Arguments& args);
