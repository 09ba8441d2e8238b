// The crash report: its text, the question box around it, and the mailto address that carries it
// to the maker. Pure text work, so the handler has nothing left to decide when a fault arrives.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "app/command_line.h"

inline constexpr const char* kCrashTitle = "Crash detected.";

// Every argument in double quotes and followed by one space, not trimmed; empty without arguments.
std::string QuotedParameters(const Arguments& args);

// The description of a processor fault code; "Unknown error code" for a code not in the table.
const char* FaultDescription(std::uint32_t faultCode);

// The name of the module that a CurrentPosition value names (bits 24-31).
const char* ModuleName(std::uint32_t position);

// Version, parameters, line, module and description, each on its own line, with a final CR LF.
std::string ComposeCrashReport(std::string_view quotedParameters, std::uint32_t position,
                               std::uint32_t faultCode);

// The text of the crash box: the report and the question whether to send it.
std::string CrashBoxText(std::string_view report);

// Letters, digits and the twenty characters -_.!~*'();/?:@&=+$,# stay; every other byte becomes
// %XX with upper-case hexadecimal digits.
std::string UrlEncode(std::string_view text);

// The mailto address with the subject and a body that starts with room for the user's own words,
// then the report. The report's ampersands are sent as %26, so they cannot end the body.
std::string CrashMailAddress(std::string_view report);
