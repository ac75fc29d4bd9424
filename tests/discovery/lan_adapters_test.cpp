#include "discovery/lan_adapters.h"

#include <gtest/gtest.h>

namespace discovery {
namespace {

TEST(AdapterTypeLine, NamedTypesAndTheRest) {
  struct Case {
    unsigned type;
    const wchar_t* line;
  };
  const Case cases[] = {
      {1, L"网卡类型:OTHER\n"},  // the one line with an ASCII colon
      {6, L"网卡类型：ETHERNET\n"}, {9, L"网卡类型：TOKENRING\n"}, {15, L"网卡类型：FDDI\n"},
      {23, L"网卡类型：PPP\n"},     {24, L"网卡类型：LOOPBACK\n"}, {28, L"网卡类型：SLIP\n"},
      {71, L"网卡类型：其它\n"},    {0, L"网卡类型：其它\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(AdapterTypeLine(c.type), c.line);
  }
}

TEST(HardwareAddressLine, DashesBetweenAndALineEnd) {
  EXPECT_EQ(HardwareAddressLine(std::string("\x00\x1A\x2B\x3C\x4D\xFE", 6)), "00-1A-2B-3C-4D-FE\n");
  EXPECT_EQ(HardwareAddressLine("\x0A"), "0A\n");
  EXPECT_EQ(HardwareAddressLine(""), "");
}

TEST(DescribeAdapters, AddressesInOrderWithTheirDiagnostics) {
  std::vector<AdapterRecord> adapters = {
      {6, std::string("\x00\x1A\x2B\x3C\x4D\x5E", 6), {L"192.168.1.20", L"0.0.0.0"}},
      {24, "", {L"127.0.0.1"}},
  };
  AdapterReport report = DescribeAdapters(adapters);
  EXPECT_EQ(report.localAddressText, L"192.168.1.20_0.0.0.0_127.0.0.1_");
  EXPECT_EQ(report.standardOutput, "00-1A-2B-3C-4D-5E\n");
  const std::vector<std::wstring> lines = {
      L"网卡类型：ETHERNET\n",
      L"网卡MAC地址\n",
      L"IP 地址：",
      L"192.168.1.20\n",
      L"IP 地址：",
      L"0.0.0.0\n",
      L"网卡类型：LOOPBACK\n",
      L"网卡MAC地址\n",
      L"IP 地址：",
      L"127.0.0.1\n",
      L"192.168.1.20_0.0.0.0_127.0.0.1_",
  };
  EXPECT_EQ(report.debugLines, lines);
}

TEST(DescribeAdapters, NoAdaptersGiveAnEmptyText) {
  AdapterReport report = DescribeAdapters({});
  EXPECT_EQ(report.localAddressText, L"");
  EXPECT_EQ(report.debugLines, std::vector<std::wstring>{L""});
}

}  // namespace
}  // namespace discovery
