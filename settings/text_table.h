// The user-visible texts: English defaults, or the lines of a language catalog.
#pragma once
#include <array>
#include <string>

// Entries 0 to 42 are the texts every catalog holds; the later ones were added after catalogs
// existed, so a catalog may stop before them.
constexpr size_t kTextCount = 58;
constexpr size_t kFirstAddedText = 43;
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
  kTextTargetHeader = 43,
  kTextCopied = 44,
  kTextMoved = 45,
  kTextReplaced = 46,
  kTextInPlace = 47,
  kTextNotPlaced = 48,
  kTextSkipped = 49,
  kTextTargetExists = 50,
  kTextPathTooLong = 51,
  kTextTagsUnreadable = 52,
  kTextSameTarget = 53,
  kTextSortFinished = 54,
  kTextPlacedCount = 55,
  kTextSortCancelled = 56,
  kTextMoreNotPlaced = 57,
};

// The built-in English text of entry i.
const char* DefaultText(size_t i);

void FillDefaultTexts(TextTable& texts);
