// What the benchmark programs share: the clock, the median, and the trivial GUI program they
// compare the product's processes with.
#pragma once
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace bench {

inline double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The command line of bench/trivial_gui.cpp, built beside the benchmark programs.
inline std::string TrivialGuiCommand(const std::string& arguments = "") {
  return "\"" + std::string(DA3_TEST_BINARY_DIR) + "\\trivial_gui.exe\" " + arguments;
}
inline constexpr char kTrivialTitle[] = "Trivial";

}  // namespace bench
