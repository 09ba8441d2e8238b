// The fixed list of 148 genre names offered by the editor; never translated.
#pragma once
#include <array>
#include <string>

constexpr size_t kGenreCount = 148;
using GenreTable = std::array<std::string, kGenreCount>;

// Stores the built-in names into entries 0 to 147, in index order.
void FillGenreTable(GenreTable& genres);
