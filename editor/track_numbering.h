// The numbers the window "Number tracks" gives: the files in the order Explorer lists them (by
// folder, then by name), numbered from a start, again in each folder where asked.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Whether a comes before b as Explorer sorts names: runs of digits by their value ("2" before
// "10"), other characters without regard to ASCII capitals, then as bytes.
bool NaturalLess(std::string_view a, std::string_view b);

// The files' places in paths, by folder, then by name, each in natural order.
std::vector<size_t> NumberingOrder(const std::vector<std::string>& paths);

struct TrackNumber {
  std::int32_t track = 0;
  std::int32_t total = 0;  // how many files are numbered together with this one
  bool operator==(const TrackNumber&) const = default;
};
// The numbers of the files taken in the given order (places in paths), indexed like paths: from
// start on, or, where perFolder, from start in each folder (its files in the order they come).
// A group's total is its size.
std::vector<TrackNumber> NumberTracks(const std::vector<std::string>& paths,
                                      const std::vector<size_t>& order, std::int32_t start,
                                      bool perFolder);

// Whether a file of this name keeps a track total: not WMA, nor WAV (its INFO tag cannot).
bool TotalKeptIn(std::string_view path);
