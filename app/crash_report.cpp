#include "app/crash_report.h"

#include <algorithm>
#include <iterator>

#include "base/position.h"

namespace {
constexpr const char* kMailPrefix =
    "mailto:bugreport@veltan.example?subject=Veltan - Bug report&body=\r\n\r\n-----\r\n";

struct Fault {
  std::uint32_t code;
  const char* description;
};
constexpr Fault kFaults[] = {
    {0xC0000005, "Invalid memory access"},
    {0xC000008C, "Array bounds exceeded"},
    {0x80000003, "Debugger breakpoint reached"},
    {0x80000002, "Misaligned data access"},
    {0xC000008D, "Denormal floating-point operand"},
    {0xC000008E, "Division by zero (floating-point)"},
    {0xC000008F, "Inexact floating-point result"},
    {0xC0000090, "Invalid floating-point operation"},
    {0xC0000091, "Floating-point overflow (exponent to great)"},
    {0xC0000092, "Floating-point stack overflow or underflow"},
    {0xC0000093, "Floating-point underflow (exponent too small)"},
    {0xC000001D, "Illegal instruction"},
    {0xC0000006, "Memory page error"},
    {0xC0000094, "Division by zero "},
    {0xC0000095, "Integer overflow"},
    {0xC0000026, "Exception handler returned unknown value"},
    {0xC0000025, "Exception handler tried to continue after non-continuable exception"},
    {0xC0000096, "Privileged instruction"},
    {0x80000004, "Single step trap"},
    {0xC00000FD, "Stack overflow"},
};

constexpr const char* kModuleNames[] = {"DA3Rudi", "taglib", "Configure", "Editor", "Sorter"};
constexpr const char* kUnknownModule = "Unknown module";
constexpr const char* kUnknownCode = "Unknown error code";
// The report's fixed words, named once for the report and for the room it needs.
constexpr std::string_view kParametersWords = "Version: 1.0\r\nParameters: ",
                           kLineWords = "\r\nLine: ", kModuleWords = "\r\nModule: ",
                           kDescriptionWords = "\r\nDescription: ", kReportEnd = "\r\n";
constexpr const char* kQuestion =
    "\r\n\r\nWould you like to send this message to the author of this program via email?";

bool StaysUnencoded(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("-_.!~*'();/?:@&=+$,#").find(char(c)) != std::string_view::npos;
}

// Each byte as it stays or as %XX; in a mail body "&" and "#" as %26 and %23 as well, since either
// ends the body in mail programs (every byte then takes at most three characters either way).
void AppendUrlEncoded(FixedText& out, std::string_view text, bool inBody) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (StaysUnencoded(byte) && !(inBody && (c == '&' || c == '#'))) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
}

void AppendDecimal(FixedText& out, std::uint32_t value) {
  char digits[10];
  size_t count = 0;
  do {
    digits[count++] = char('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (count > 0) out += digits[--count];
}

// A text composed by compose into a string of the given capacity.
template <typename Compose>
std::string Composed(size_t capacity, const Compose& compose) {
  std::string text(capacity, '\0');
  FixedText out(text.data(), text.size());
  compose(out);
  text.resize(out.view().size());
  return text;
}
}  // namespace

std::string QuotedParameters(const Arguments& args) {
  STEP(DA3Rudi);
  std::string quoted;
  for (size_t i = 0; i < args.Count(); ++i) quoted += '"' + args[i] + "\" ";
  return quoted;
}

const char* FaultDescription(std::uint32_t faultCode) {
  for (const Fault& fault : kFaults)
    if (fault.code == faultCode) return fault.description;
  return kUnknownCode;
}

const char* ModuleName(std::uint32_t position) {
  std::uint32_t module = position >> 24;
  // Only a position that is not the program's own could name another number.
  return module < std::size(kModuleNames) ? kModuleNames[module] : kUnknownModule;
}

FixedText& FixedText::operator+=(std::string_view text) {
  const size_t room = capacity_ - 1 - size_;
  const size_t taken = text.size() < room ? text.size() : room;
  for (size_t i = 0; i < taken; ++i) buffer_[size_ + i] = text[i];
  size_ += taken;
  buffer_[size_] = 0;
  return *this;
}

size_t CrashReportCapacity(size_t quotedParametersSize) {
  size_t description = std::string_view(kUnknownCode).size();
  for (const Fault& fault : kFaults)
    description = std::max(description, std::string_view(fault.description).size());
  size_t module = std::string_view(kUnknownModule).size();
  for (const char* name : kModuleNames) module = std::max(module, std::string_view(name).size());
  constexpr size_t kLineDigits = 8;  // the line takes 24 bits
  const size_t words = kParametersWords.size() + kLineWords.size() + kModuleWords.size() +
                       kDescriptionWords.size() + kReportEnd.size();
  return words + quotedParametersSize + kLineDigits + module + description + 1;
}

size_t CrashBoxCapacity(size_t reportSize) {
  return reportSize + std::string_view(kQuestion).size() + 1;
}

size_t CrashMailCapacity(size_t reportSize) {
  return 3 * (std::string_view(kMailPrefix).size() + reportSize) + 1;
}

void ComposeCrashReport(FixedText& out, std::string_view quotedParameters, std::uint32_t position,
                        std::uint32_t faultCode) {
  STEP(DA3Rudi);
  out += kParametersWords;
  out += quotedParameters;
  out += kLineWords;
  AppendDecimal(out, position & 0xFFFFFFu);
  out += kModuleWords;
  out += ModuleName(position);
  out += kDescriptionWords;
  out += FaultDescription(faultCode);
  out += kReportEnd;
}

std::string ComposeCrashReport(std::string_view quotedParameters, std::uint32_t position,
                               std::uint32_t faultCode) {
  return Composed(CrashReportCapacity(quotedParameters.size()), [&](FixedText& out) {
    ComposeCrashReport(out, quotedParameters, position, faultCode);
  });
}

void ComposeCrashBoxText(FixedText& out, std::string_view report) {
  out += report;
  out += kQuestion;
}

std::string CrashBoxText(std::string_view report) {
  return Composed(CrashBoxCapacity(report.size()),
                  [&](FixedText& out) { ComposeCrashBoxText(out, report); });
}

std::string UrlEncode(std::string_view text) {
  return Composed(3 * text.size() + 1, [&](FixedText& out) { AppendUrlEncoded(out, text, false); });
}

void ComposeCrashMailAddress(FixedText& out, std::string_view report) {
  STEP(DA3Rudi);
  // The prefix's own "&" separates subject and body; the report's must not.
  AppendUrlEncoded(out, kMailPrefix, false);
  AppendUrlEncoded(out, report, true);
}

std::string CrashMailAddress(std::string_view report) {
  return Composed(CrashMailCapacity(report.size()),
                  [&](FixedText& out) { ComposeCrashMailAddress(out, report); });
}
