// Taking back the last sort, as the configuration window offers it.
#pragma once
#include <string>

#include "settings/text_table.h"

// What the Undo button offers: the question to ask, or why there is nothing to undo.
struct UndoOffer {
  bool possible = false;
  std::string text;
};
UndoOffer OfferUndo(const TextTable& texts);

// Records that the last sort is undone, takes it back, and gives the text of the box that says
// how much was put back and what could not be, and why.
std::string UndoLastSort(const TextTable& texts);
