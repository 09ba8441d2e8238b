#include "app/crash_report.h"

#include <iterator>

#include "app/position.h"

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

bool StaysUnencoded(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("-_.!~*'();/?:@&=+$,#").find(char(c)) != std::string_view::npos;
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
  return "Unknown error code";
}

const char* ModuleName(std::uint32_t position) {
  std::uint32_t module = position >> 24;
  // Only a position that is not the program's own could name another number.
  return module < std::size(kModuleNames) ? kModuleNames[module] : "Unknown module";
}

std::string ComposeCrashReport(std::string_view quotedParameters, std::uint32_t position,
                               std::uint32_t faultCode) {
  STEP(DA3Rudi);
  std::string report = "Version: 1.0\r\nParameters: ";
  report += quotedParameters;
  report += "\r\nLine: " + std::to_string(position & 0xFFFFFFu);
  report += "\r\nModule: ";
  report += ModuleName(position);
  report += "\r\nDescription: ";
  report += FaultDescription(faultCode);
  report += "\r\n";
  return report;
}

std::string CrashBoxText(std::string_view report) {
  return std::string(report) +
         "\r\n\r\nWould you like to send this message to the author of this program via email?";
}

std::string UrlEncode(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(text.size() * 3);
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (StaysUnencoded(byte)) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0xF];
    }
  }
  return encoded;
}

std::string CrashMailAddress(std::string_view report) {
  STEP(DA3Rudi);
  std::string address = UrlEncode(kMailPrefix);
  // The prefix's own "&" separates subject and body; the report's must not.
  for (char c : UrlEncode(report)) {
    if (c == '&') address += "%26";
    else address += c;
  }
  return address;
}
