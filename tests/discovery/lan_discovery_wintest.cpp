// The discovery shell on the test machine's own network, without any broadcast: pings over
// loopback, the adapter scan, and a pass without an endpoint. Passes that broadcast run in the
// network namespace of the discovery bed.
#include <gtest/gtest.h>

#include "discovery/lan_discovery_win.h"

// clang-format off
#include <iphlpapi.h>
#include <icmpapi.h>
// clang-format on

#include "common/ipv4_text.h"
#include "discovery/reachability_win.h"
#include "support/winsock_win.h"

namespace discovery {
namespace {

using DiscoveryShellTest = testsupport::WinsockTest;

TEST_F(DiscoveryShellTest, PingAnswersOverLoopbackAndRefusesOtherTexts) {
  HANDLE saved = icmpHandle.exchange(IcmpCreateFile());
  ASSERT_NE(icmpHandle.load(), INVALID_HANDLE_VALUE);
  EXPECT_TRUE(PingPrinter(L"127.0.0.1"));
  DWORD start = GetTickCount();
  EXPECT_FALSE(PingPrinter(L"Searching IP"));
  EXPECT_FALSE(PingPrinter(L"127.0.0.1 "));
  EXPECT_LT(GetTickCount() - start, 100u);
  IcmpCloseHandle(icmpHandle.exchange(INVALID_HANDLE_VALUE));
  // Without the handle no request is made.
  EXPECT_FALSE(PingPrinter(L"127.0.0.1"));
  icmpHandle = saved;
}

TEST_F(DiscoveryShellTest, AdapterScanRecordsEveryAddressWithItsSeparator) {
  std::wstring text = ScanLocalAdapters();
  EXPECT_EQ(text, LocalAddressText());
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), L'_');
  size_t start = 0;
  for (size_t end; (end = text.find(L'_', start)) != std::wstring::npos; start = end + 1) {
    std::wstring address = text.substr(start, end - start);
    SCOPED_TRACE(address);
    EXPECT_TRUE(common::ParseIpv4(address).has_value());
  }
}

TEST_F(DiscoveryShellTest, PassWithoutEndpointWaitsATickAndChangesNothing) {
  ASSERT_FALSE(lanListening.load());
  std::vector<std::wstring> found = {L"192.168.1.57"};
  classlib::CriticalSection lock;
  DWORD start = GetTickCount();
  EXPECT_TRUE(RunDiscoveryPass(found, lock));
  DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 400u);
  EXPECT_LT(elapsed, 1500u);
  EXPECT_EQ(found, std::vector<std::wstring>{L"192.168.1.57"});
  // Stopping a search that has no endpoint changes nothing either.
  StopLanDiscovery();
  EXPECT_EQ(LanStatusText(), L"");
}

}  // namespace
}  // namespace discovery
