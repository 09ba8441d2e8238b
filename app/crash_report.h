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

// A text in memory set aside beforehand: appending never allocates, so the report can be composed
// while the faulting thread holds the heap. What does not fit is cut off; the text always ends in
// a NUL.
class FixedText {
 public:
  // capacity counts the terminating NUL and must be at least 1.
  FixedText(char* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {
    buffer_[0] = 0;
  }
  FixedText& operator+=(std::string_view text);
  FixedText& operator+=(char c) { return *this += std::string_view(&c, 1); }
  std::string_view view() const { return {buffer_, size_}; }
  const char* c_str() const { return buffer_; }

 private:
  char* buffer_;
  size_t capacity_;
  size_t size_ = 0;
};

// The room (NUL included) that each text below needs at most, given the length of what it is
// made from, so the handler can set it aside when it is installed.
size_t CrashReportCapacity(size_t quotedParametersSize);
size_t CrashBoxCapacity(size_t reportSize);
size_t CrashMailCapacity(size_t reportSize);

// Version, parameters, line, module and description, each on its own line, with a final CR LF.
void ComposeCrashReport(FixedText& out, std::string_view quotedParameters, std::uint32_t position,
                        std::uint32_t faultCode);
std::string ComposeCrashReport(std::string_view quotedParameters, std::uint32_t position,
                               std::uint32_t faultCode);

// The text of the crash box: the report and the question whether to send it.
void ComposeCrashBoxText(FixedText& out, std::string_view report);
std::string CrashBoxText(std::string_view report);

// Letters, digits and the twenty characters -_.!~*'();/?:@&=+$,# stay; every other byte becomes
// %XX with upper-case hexadecimal digits.
std::string UrlEncode(std::string_view text);

// The mailto address with the subject and a body that starts with room for the user's own words,
// then the report, its UTF-8 bytes percent-encoded. The report's "&" and "#" are sent as %26 and
// %23, so they cannot end the body.
void ComposeCrashMailAddress(FixedText& out, std::string_view report);
std::string CrashMailAddress(std::string_view report);
