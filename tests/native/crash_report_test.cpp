#include "app/crash_report.h"

#include <gtest/gtest.h>

namespace {
constexpr std::uint32_t kAccessViolation = 0xC0000005;
constexpr std::uint32_t Position(std::uint32_t module, std::uint32_t line) {
  return module << 24 | line;
}
}  // namespace

TEST(QuotedParameters, QuotesEveryArgumentUntrimmedWithATrailingSpace) {
  EXPECT_EQ(QuotedParameters(Arguments(R"("C:\DA3Zur.exe")")), "");
  EXPECT_EQ(QuotedParameters(Arguments(R"("C:\DA3Zur.exe" -edit " D:\a b.mp3 ")")),
            R"("-edit" " D:\a b.mp3 " )");
  EXPECT_EQ(QuotedParameters(Arguments(R"(prog "" x)")), R"("" "x" )");
}

TEST(ComposeCrashReport, ByteForByteWithLineAndModuleFromThePosition) {
  EXPECT_EQ(ComposeCrashReport("", Position(0, 93), kAccessViolation),
            "Version: 1.0\r\nParameters: \r\nLine: 93\r\nModule: DA3Rudi\r\n"
            "Description: Invalid memory access\r\n");
  EXPECT_EQ(ComposeCrashReport(R"("-edit" "D:\a.mp3" )", Position(3, 0xFFFFFF), 0xC0000094),
            "Version: 1.0\r\nParameters: \"-edit\" \"D:\\a.mp3\" \r\nLine: 16777215\r\n"
            "Module: Editor\r\nDescription: Division by zero \r\n");
  const char* names[] = {"DA3Rudi", "taglib", "Configure", "Editor", "Sorter"};
  for (std::uint32_t module = 0; module < 5; ++module)
    EXPECT_EQ(ModuleName(Position(module, 7)), std::string(names[module]));
  EXPECT_STREQ(ModuleName(Position(200, 7)), "Unknown module");
  EXPECT_EQ(ComposeCrashReport("", Position(4, 0), 0xC00000FD),
            "Version: 1.0\r\nParameters: \r\nLine: 0\r\nModule: Sorter\r\n"
            "Description: Stack overflow\r\n");
}

TEST(FaultDescription, TableRowsAndUnknownCodes) {
  EXPECT_STREQ(FaultDescription(0xC0000094), "Division by zero ");
  EXPECT_STREQ(FaultDescription(0xC000008E), "Division by zero (floating-point)");
  EXPECT_STREQ(FaultDescription(0x80000003), "Debugger breakpoint reached");
  EXPECT_STREQ(FaultDescription(0xC0000091), "Floating-point overflow (exponent to great)");
  EXPECT_STREQ(FaultDescription(0xC0000025),
               "Exception handler tried to continue after non-continuable exception");
  EXPECT_STREQ(FaultDescription(0x80000004), "Single step trap");
  EXPECT_STREQ(FaultDescription(0), "Unknown error code");
  EXPECT_STREQ(FaultDescription(0xE06D7363), "Unknown error code");
  EXPECT_STREQ(FaultDescription(0x00000005), "Unknown error code");  // only the low word matches
}

TEST(CrashBoxText, ReportThenTheQuestion) {
  EXPECT_EQ(CrashBoxText("R\r\n"),
            "R\r\n\r\n\r\nWould you like to send this message to the author of this program via "
            "email?");
}

TEST(UrlEncode, SafeCharactersStayEverythingElseIsUpperCaseHex) {
  const std::string safe =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_.!~*'();/?:@&=+$,#";
  EXPECT_EQ(UrlEncode(safe), safe);
  EXPECT_EQ(UrlEncode(" \r\n%\"<>\\^`{|}[]"), "%20%0D%0A%25%22%3C%3E%5C%5E%60%7B%7C%7D%5B%5D");
  EXPECT_EQ(UrlEncode(std::string("\0\x01\x7F\x80\xE9\xFF", 6)), "%00%01%7F%80%E9%FF");
  EXPECT_EQ(UrlEncode(""), "");
  // Every byte outside the safe set is encoded, none is dropped.
  for (int byte = 0; byte < 256; ++byte) {
    std::string one(1, char(byte));
    std::string encoded = UrlEncode(one);
    if (safe.find(char(byte)) != std::string::npos)
      EXPECT_EQ(encoded, one);
    else
      EXPECT_EQ(encoded.size(), 3u) << byte;
  }
}

TEST(CrashMailAddress, PrefixThenReportWithAmpersandsAndHashesPercentEncoded) {
  const std::string prefix =
      "mailto:bugreport@veltan.example?subject=Veltan%20-%20Bug%20report&body="
      "%0D%0A%0D%0A-----%0D%0A";
  EXPECT_EQ(CrashMailAddress(""), prefix);
  std::string report =
      ComposeCrashReport(QuotedParameters(Arguments(R"(prog -edit "C:\Rock & Roll\100% #1.mp3")")),
                         Position(3, 88), kAccessViolation);
  EXPECT_EQ(CrashMailAddress(report),
            prefix +
                "Version:%201.0%0D%0AParameters:%20%22-edit%22%20%22C:%5CRock%20%26%20Roll%5C"
                "100%25%20%231.mp3%22%20%0D%0ALine:%2088%0D%0AModule:%20Editor%0D%0A"
                "Description:%20Invalid%20memory%20access%0D%0A");
  // A report's "%26" text stays apart from its ampersand: one is %2526, the other %26.
  EXPECT_EQ(CrashMailAddress("&%26"), prefix + "%26%2526");
  // Every byte of a UTF-8 name is sent percent-encoded, so the mail program reads the name back.
  EXPECT_EQ(CrashMailAddress("\xD0\x96 \xE2\x80\x93 #"), prefix + "%D0%96%20%E2%80%93%20%23");
}
