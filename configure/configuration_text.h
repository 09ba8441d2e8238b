// The texts the configuration window builds: the hint with its line breaks, the verbs' command
// lines, and which language item matches the stored language.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Turns every backslash followed by a small n into CR LF, from left to right.
std::string ExpandLineBreaks(std::string_view text);

// The command line of a verb: the quoted program path, a blank, the switch, a blank and "%1"
// quoted.
std::string VerbCommandLine(std::string_view programPath, std::string_view modeSwitch);

// The first item equal to language byte for byte, or nothing.
std::optional<size_t> FindLanguageItem(const std::vector<std::string>& items,
                                       std::string_view language);
