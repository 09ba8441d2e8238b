// The system's own words for an error code.
#pragma once
#include <cstdint>
#include <string>

// The message Windows gives for the code, in the user's language, on one line; "Error <code>"
// when it has none.
std::string SystemMessage(std::uint32_t error);
