#include "common/format.h"

#include <gtest/gtest.h>

using common::FormatText;

TEST(FormatText, ConversionsWidthsAndFlags) {
  struct Case {
    const wchar_t* format;
    std::vector<common::FormatArg> args;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"USB%03d", {1LL}, L"USB001"},
      {L"USB%03d", {1000LL}, L"USB1000"},
      {L"[%5s|%-5s]", {std::wstring(L"ab"), std::wstring(L"cd")}, L"[   ab|cd   ]"},
      {L"%.2s", {std::wstring(L"abc")}, L"ab"},
      {L"%d %d", {-42LL, 0LL}, L"-42 0"},
      {L"%04d", {-7LL}, L"-007"},
      {L"%02X%02x", {0xABLL, 0x0CLL}, L"AB0c"},
      {L"100%%", {}, L"100%"},
      {L"%s|%s", {std::wstring(L"only")}, L"only|"},
      {L"tail %", {}, L"tail %"},
      {L"%c", {static_cast<long long>(L'Z')}, L"Z"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(FormatText(c.format, c.args), c.expected);
  }
}

TEST(FormatBytes, KeepsAnsiBytes) {
  EXPECT_EQ(common::FormatBytes("\xB0\xB2%s,n,8,1", {std::wstring(L"9600")}),
            "\xB0\xB2"
            "9600,n,8,1");
}
