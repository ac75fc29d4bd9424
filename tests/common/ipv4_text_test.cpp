#include "common/ipv4_text.h"

#include <gtest/gtest.h>

namespace common {
namespace {

TEST(ParseIpv4, DottedDecimalInHostOrder) {
  EXPECT_EQ(ParseIpv4(L"192.168.1.100"), 0xC0A80164u);
  EXPECT_EQ(ParseIpv4(L"0.0.0.0"), 0u);
  EXPECT_EQ(ParseIpv4(L"255.255.255.255"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseIpv4(L"10.0.0.8"), 0x0A000008u);
}

TEST(ParseIpv4, RejectsEverythingElse) {
  for (const wchar_t* text :
       {L"", L"Searching IP", L"COM3", L"USB001", L"192.168.1", L"192.168.1.100.5",
        L"192.168.1.256", L"192.168.1.1000", L"192.168.01.100", L"192.168..100", L".1.2.3",
        L"1.2.3.", L" 1.2.3.4", L"1.2.3.4 ", L"1.2.3.-4", L"1.2.3.4x", L"0x1.2.3.4",
        L"\x0661.2.3.4"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(ParseIpv4(text).has_value());
  }
}

TEST(FormatIpv4, DottedDecimal) {
  EXPECT_EQ(FormatIpv4(0xC0A80164u), L"192.168.1.100");
  EXPECT_EQ(FormatIpv4(0u), L"0.0.0.0");
  EXPECT_EQ(FormatIpv4(0xFFFFFFFFu), L"255.255.255.255");
}

}  // namespace
}  // namespace common
