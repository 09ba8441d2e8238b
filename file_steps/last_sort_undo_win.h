// Taking back the last sort, as the configuration window offers it.
#pragma once
#include <string>

#include "settings/text_table.h"

// What the Undo button offers: the newest run not undone yet (pressed again, the one before, as
// long as its record is kept), as the question to ask and the record it is about, or why there is
// nothing to undo.
struct UndoOffer {
  bool possible = false;
  std::string text;
  std::string record;  // the record's path, when possible
};
UndoOffer OfferUndo(const TextTable& texts);

// Takes back the run of the record offered, marking each step in the record as it is taken back
// and the record as undone at the end, and gives the text of the box that says how much was put
// back and what could not be, and why. Refuses while a sorter still writes the record.
std::string UndoSort(const TextTable& texts, const std::string& record);
