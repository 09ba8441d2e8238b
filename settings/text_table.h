// The 43 user-visible texts: English defaults, or the lines of a language catalog.
#pragma once
#include <array>
#include <string>

constexpr size_t kTextCount = 43;
using TextTable = std::array<std::string, kTextCount>;

// Entry indices that more than one window uses; the windows name the rest in their control tables.
enum TextId : size_t {
  kTextEditVerb = 0,
  kTextSortVerb = 1,
  kTextCancel = 16,
  kTextInformation = 18,
  kTextLanguageChanged = 19,
  kTextQuestion = 37,
  kTextError = 38,
  kTextDeleteOriginals = 39,
  kTextCouldNotWrite = 40,
  kTextCouldNotRead = 41,
  kTextContinue = 42,
};

// The built-in English text of entry i.
const char* DefaultText(size_t i);

void FillDefaultTexts(TextTable& texts);
