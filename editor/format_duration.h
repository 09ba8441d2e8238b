// The playing time as the editor shows it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Hours, minutes and seconds, each as exactly two characters, joined by the separator: 205 gives
// 00:03:25 with ":". The hours count modulo 60; 0 or less gives 00:00:00.
std::string FormatDuration(std::int64_t seconds, std::string_view separator);
