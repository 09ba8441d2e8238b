#include "settings/text_table.h"

#include "base/position.h"

namespace {
const char* const kDefaults[kTextCount] = {
#define DA3_TEXT_DEFAULT(name, english) english,
    DA3_TEXTS(DA3_TEXT_DEFAULT)
#undef DA3_TEXT_DEFAULT
};
}  // namespace

const char* DefaultText(size_t i) { return i < kTextCount ? kDefaults[i] : ""; }

void FillDefaultTexts(TextTable& texts) {
  STEP(DA3Rudi);
  for (size_t i = 0; i < kTextCount; ++i) texts[i] = kDefaults[i];
}
