// The system's own words for an error code.
#pragma once
#include <cstdint>
#include <string>

// 0 when a call succeeded, else the error it left (GetLastError), as the file steps give them.
std::uint32_t ErrorOf(int succeeded);

// The message Windows gives for the code, in the user's language, on one line; "Error <code>"
// when it has none.
std::string SystemMessage(std::uint32_t error);
