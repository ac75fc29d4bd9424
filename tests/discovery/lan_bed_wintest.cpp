// Discovery passes against the simulated printers of scripts/lan-bed.sh, inside the network
// namespace the bed made (192.168.1.20 here; printers at 192.168.1.57, .58, .101 to .120 and, in
// another segment, 10.0.0.8). Skipped outside the bed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "discovery/lan_discovery_win.h"
#include "discovery/lan_protocol.h"
#include "support/hex_bytes.h"
#include "support/lan_bed_win.h"
#include "support/winsock_win.h"

namespace discovery {
namespace {

using testsupport::LanBed;
using Printers = std::vector<std::wstring>;

// Cancels the pending receive every 500 ms, as the dialog's port monitor does.
class Ticker {
 public:
  void Start() {
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &Ticker::Run, this, 0, nullptr);
  }
  void Stop() {
    if (!thread_) return;
    SetEvent(stop_);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    CloseHandle(stop_);
    thread_ = nullptr;
  }
  ~Ticker() { Stop(); }

 private:
  static DWORD WINAPI Run(void* self) {
    auto* ticker = static_cast<Ticker*>(self);
    while (WaitForSingleObject(ticker->stop_, 500) == WAIT_TIMEOUT) CancelDiscoveryReceive();
    return 0;
  }
  HANDLE stop_ = nullptr;
  HANDLE thread_ = nullptr;
};

class LanBedTest : public testsupport::WinsockTest {
 protected:
  void SetUp() override {
    if (!LanBed::Active()) GTEST_SKIP() << "runs inside scripts/lan-bed.sh only";
    ASSERT_EQ(LanBed::Command("reset"), "");
    OpenDiscoveryEndpoint();
    ASSERT_TRUE(lanListening.load());
    ASSERT_EQ(ScanLocalAdapters(), L"192.168.1.20_");
    ticker.Start();
  }
  void TearDown() override {
    ticker.Stop();
    StopLanDiscovery();
  }

  void Printer(const std::string& command) { ASSERT_EQ(LanBed::Command(command), ""); }

  // Runs passes until `done` holds or `maxPasses` ran; counts the passes that returned false.
  int RunUntil(const std::function<bool()>& done, int maxPasses) {
    int falses = 0;
    for (int i = 0; i < maxPasses && !done(); ++i)
      if (!RunDiscoveryPass(found, lock)) ++falses;
    return falses;
  }
  int RunPasses(int count) {
    return RunUntil([] { return false; }, count);
  }
  bool Found(const std::wstring& address) {
    return std::find(found.begin(), found.end(), address) != found.end();
  }
  static size_t FindRequestsSeen() {
    auto events = LanBed::Events();
    return std::count_if(events.begin(), events.end(),
                         [](const std::string& e) { return e.rfind("find ", 0) == 0; });
  }

  Printers found;
  classlib::CriticalSection lock;
  Ticker ticker;
};

TEST_F(LanBedTest, OwnSegmentPrinterIsListedOnce) {
  Printer("find 192.168.1.57 on");
  EXPECT_EQ(RunUntil([&] { return Found(L"192.168.1.57"); }, 5), 0);
  EXPECT_EQ(found, Printers{L"192.168.1.57"});
  EXPECT_EQ(LanStatusText(), L"QV0001INFO192.168.1.57:1460");
  EXPECT_EQ(RunPasses(3), 0);
  EXPECT_EQ(found, Printers{L"192.168.1.57"});
}

TEST_F(LanBedTest, PrinterThatStopsAnsweringPingsLeavesTheList) {
  Printer("find 192.168.1.57 on");
  Printer("find 192.168.1.58 on");
  RunUntil([&] { return found.size() == 2; }, 10);
  ASSERT_EQ(found.size(), 2u);
  Printer("power 192.168.1.58 off");
  int falses = RunUntil([&] { return found == Printers{L"192.168.1.57"}; }, 10);
  EXPECT_EQ(found, Printers{L"192.168.1.57"});
  EXPECT_EQ(falses, 1);
  // Powered again, it answers and is listed again.
  Printer("power 192.168.1.58 on");
  Printer("find 192.168.1.58 on");
  RunUntil([&] { return Found(L"192.168.1.58"); }, 10);
  EXPECT_TRUE(Found(L"192.168.1.58"));
}

TEST_F(LanBedTest, OtherSegmentPrinterReceivesTheSaveCommand) {
  Printer("find 10.0.0.8 on");
  bool ended = false;
  for (int i = 0; i < 5 && !ended; ++i) ended = !RunDiscoveryPass(found, lock);
  EXPECT_TRUE(ended);
  EXPECT_TRUE(found.empty());
  std::vector<std::string> saves;
  for (int i = 0; i < 50 && saves.empty(); ++i, Sleep(20)) saves = LanBed::Saves();
  ASSERT_EQ(saves.size(), 1u);
  auto expected = SaveCommand(LanBed::LastReply("10.0.0.8"));
  ASSERT_TRUE(expected.has_value());
  EXPECT_EQ(saves[0], "192.168.1.20 " + testsupport::ToHex(*expected));
}

TEST_F(LanBedTest, ShortReplyOfOtherSegmentSendsNoSaveCommand) {
  Printer("find 10.0.0.8 on");
  Printer("size 10.0.0.8 40");
  bool ended = false;
  for (int i = 0; i < 5 && !ended; ++i) ended = !RunDiscoveryPass(found, lock);
  EXPECT_TRUE(ended);
  Sleep(300);
  EXPECT_TRUE(LanBed::Saves().empty());
}

TEST_F(LanBedTest, WithoutAnswersEveryPassSendsOneRequestAndEndsAtTheTick) {
  DWORD start = GetTickCount();
  EXPECT_EQ(RunPasses(3), 0);
  DWORD elapsed = GetTickCount() - start;
  EXPECT_TRUE(found.empty());
  Sleep(100);
  EXPECT_EQ(FindRequestsSeen(), 3u);
  EXPECT_LT(elapsed, 3u * 700u);
}

TEST_F(LanBedTest, StopEndsAWaitingPassAtOnce) {
  ticker.Stop();
  struct Stopper {
    static DWORD WINAPI Run(void*) {
      Sleep(200);
      StopLanDiscovery();
      return 0;
    }
  };
  HANDLE thread = CreateThread(nullptr, 0, &Stopper::Run, nullptr, 0, nullptr);
  DWORD start = GetTickCount();
  EXPECT_TRUE(RunDiscoveryPass(found, lock));
  DWORD elapsed = GetTickCount() - start;
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
  EXPECT_LT(elapsed, 1500u);
  EXPECT_FALSE(lanListening.load());
  EXPECT_EQ(LanStatusText(), kStatusStopped);
  // A pass without the endpoint sends nothing.
  size_t requests = FindRequestsSeen();
  EXPECT_TRUE(RunDiscoveryPass(found, lock));
  Sleep(100);
  EXPECT_EQ(FindRequestsSeen(), requests);
}

// A benchmark rather than a timed test: how long until the first and until all of 20 printers
// are listed, against the 500 ms tick of the dialog's port monitor.
TEST_F(LanBedTest, TwentyPrintersBenchmark) {
  for (int n = 101; n <= 120; ++n) Printer("find 192.168.1." + std::to_string(n) + " on");
  DWORD start = GetTickCount();
  DWORD first = 0;
  int passes = 0;
  while (found.size() < 20 && GetTickCount() - start < 60000 && passes < 200) {
    RunDiscoveryPass(found, lock);
    ++passes;
    if (!found.empty() && first == 0) first = GetTickCount() - start;
  }
  DWORD all = GetTickCount() - start;
  EXPECT_EQ(found.size(), 20u);
  std::printf("[ benchmark ] first printer listed after %lu ms, all 20 after %lu ms, %d passes\n",
              first, all, passes);
  RecordProperty("first_ms", static_cast<int>(first));
  RecordProperty("all_ms", static_cast<int>(all));
}

}  // namespace
}  // namespace discovery
