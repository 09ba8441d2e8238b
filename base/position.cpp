#include "base/position.h"

volatile std::uint32_t CurrentPosition = 0;
