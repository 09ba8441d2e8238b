// The program's own English texts, for tests that compare what the core says.
#pragma once
#include "settings/text_table.h"

inline const TextTable& Texts() {
  static const TextTable texts = [] {
    TextTable t;
    FillDefaultTexts(t);
    return t;
  }();
  return texts;
}
