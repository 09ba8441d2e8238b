// The program-wide tables that start-up creates and lends to the modes.
#pragma once
#include "settings/text_table.h"
#include "tags/genre_table.h"

struct ProgramTables {
  TextTable texts;
  GenreTable genres;
};
