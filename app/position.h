// CurrentPosition: the module and line of the last step the program began, for the crash report.
#pragma once
#include <cstdint>

enum class Module : std::uint32_t { DA3Rudi = 0, TagLib = 1, Configure = 2, Editor = 3, Sorter = 4 };

// Bits 24-31: module number, bits 0-23: line. Written before every step, read by the crash handler.
extern volatile std::uint32_t CurrentPosition;

// Records the step that begins on this line of the given module.
#define STEP(module) \
  (CurrentPosition = (static_cast<std::uint32_t>(Module::module) << 24) | (__LINE__ & 0xFFFFFFu))
