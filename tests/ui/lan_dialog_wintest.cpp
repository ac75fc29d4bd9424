// The LAN search as a user meets it in the setup dialog: the real tool under Wine, inside the
// network namespace of scripts/lan-bed.sh (the tool at 192.168.1.20; simulated printers at
// 192.168.1.57, .58, .101 to .120 and, in another segment, 10.0.0.8). Skipped outside the bed.
//
// What the tests see is what a user or the network sees: the dialog's controls, the datagrams
// the simulated printers record, and whether the tool holds its discovery port.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "discovery/lan_protocol.h"
#include "support/hex_bytes.h"
#include "support/lan_bed_win.h"
#include "support/ui_driver_win.h"
#include "support/winsock_win.h"

namespace {

using testsupport::LanBed;
using testsupport::Narrow;
using testsupport::Tool;
using testsupport::ToolOptions;
using Entries = std::vector<std::wstring>;

const Entries kSearching = {L"Searching IP"};
const Entries kNoUsb = {L"NO USB"};

// One tick of the dialog's port monitor.
constexpr DWORD kTickMs = app::kPortMonitorPeriodMs;

std::string Join(const Entries& entries) {
  std::string text;
  for (const std::wstring& e : entries) text += (text.empty() ? "'" : ", '") + Narrow(e) + "'";
  return "[" + text + "]";
}

int IndexOf(const Entries& entries, const std::wstring& entry) {
  auto it = std::find(entries.begin(), entries.end(), entry);
  return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

bool SameSet(Entries a, Entries b) {
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  return a == b;
}

bool HasDuplicates(const Entries& entries) {
  return std::set<std::wstring>(entries.begin(), entries.end()).size() != entries.size();
}

// FIND requests the simulated printers received so far (from anyone in the bed: only the tool
// sends them).
size_t FindRequestsSeen() {
  auto events = LanBed::Events();
  return std::count_if(events.begin(), events.end(),
                       [](const std::string& e) { return e.rfind("find ", 0) == 0; });
}

// True when this process can bind UDP `port` on all addresses, that is when no other socket
// (the tool's) holds it.
bool UdpPortFree(uint16_t port) {
  SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
  if (s == INVALID_SOCKET) return false;
  sockaddr_in local = {};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  local.sin_port = htons(port);
  bool bound = bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
  closesocket(s);
  return bound;
}

class LanDialogTest : public testsupport::WinsockTest {
 protected:
  void SetUp() override {
    if (!LanBed::Active()) GTEST_SKIP() << "runs inside scripts/lan-bed.sh only";
    ASSERT_EQ(LanBed::Command("reset"), "");
  }

  static void Printer(const std::string& command) { ASSERT_EQ(LanBed::Command(command), ""); }

  // The tool in English on Windows 10, after its first port-monitor tick.
  static Tool StartTool() {
    Tool tool = Tool::Start(ToolOptions{L"en_US", L"win10"});
    if (!tool.WaitForText(app::kPortList, L"NO USB", 3000))
      ADD_FAILURE() << "the first tick did not list the USB ports";
    return tool;
  }

  // Polls the port list every 10 ms until `done` holds for its entries; false after the time.
  static bool WaitForList(const Tool& tool, const std::function<bool(const Entries&)>& done,
                          DWORD timeoutMs, DWORD* elapsedMs = nullptr) {
    const DWORD begin = GetTickCount();
    for (;;) {
      if (done(tool.Entries(app::kPortList))) {
        if (elapsedMs) *elapsedMs = GetTickCount() - begin;
        return true;
      }
      if (GetTickCount() - begin >= timeoutMs) return false;
      Sleep(10);
    }
  }
  static bool WaitForEntries(const Tool& tool, const Entries& wanted, DWORD timeoutMs = 3000) {
    return WaitForList(
        tool, [&](const Entries& e) { return SameSet(e, wanted); }, timeoutMs);
  }

  // Samples the port list every 20 ms for `ms` and fails on the first sample that `ok` refuses.
  static void ListStays(const Tool& tool, DWORD ms, const std::function<bool(const Entries&)>& ok,
                        const char* what) {
    const DWORD begin = GetTickCount();
    while (GetTickCount() - begin < ms) {
      Entries e = tool.Entries(app::kPortList);
      if (!ok(e)) {
        ADD_FAILURE() << what << ": after " << GetTickCount() - begin << " ms the list was "
                      << Join(e);
        return;
      }
      Sleep(20);
    }
  }

  static void Finish(Tool& tool) {
    tool.Close();
    EXPECT_TRUE(tool.WaitForExit());
  }
};

TEST_F(LanDialogTest, ChoosingLanShowsTheAddressControlAndSearches) {
  Tool tool = StartTool();
  tool.Click(app::kRadioLan);
  EXPECT_TRUE(tool.Visible(app::kIpAddress));
  EXPECT_EQ(tool.Text(app::kIpAddress), L"192.168.1.100");
  EXPECT_FALSE(tool.Visible(app::kBaudList));
  EXPECT_FALSE(tool.Visible(app::kBleName));
  EXPECT_TRUE(tool.Visible(app::kPortList));
  EXPECT_EQ(tool.Entries(app::kPortList), kSearching);
  EXPECT_EQ(tool.SelectedEntry(app::kPortList), L"Searching IP");
  // No printer answers: the search goes on (one request per tick) and the list stays as it is.
  size_t requests = FindRequestsSeen();
  ListStays(
      tool, 3 * kTickMs, [](const Entries& e) { return e == kSearching; },
      "without an answering printer");
  EXPECT_GE(FindRequestsSeen(), requests + 2);
  Finish(tool);
}

TEST_F(LanDialogTest, AnsweringPrinterIsListedAndChoosingItSetsTheAddress) {
  Printer("find 192.168.1.57 on");
  Tool tool = StartTool();
  tool.Click(app::kRadioLan);
  DWORD listedAfter = 0;
  ASSERT_TRUE(WaitForList(
      tool, [](const Entries& e) { return e == Entries{L"192.168.1.57"}; }, 2000, &listedAfter))
      << Join(tool.Entries(app::kPortList));
  std::printf("printer listed %lu ms after the click on LAN\n", listedAfter);
  EXPECT_EQ(tool.Text(app::kIpAddress), L"192.168.1.100");  // listing alone does not choose it

  tool.Select(app::kPortList, L"192.168.1.57");
  EXPECT_EQ(tool.Text(app::kIpAddress), L"192.168.1.57");
  // Every reply pings the known printers and adds nothing new: listed once, still chosen.
  ListStays(
      tool, 3 * kTickMs, [](const Entries& e) { return e == Entries{L"192.168.1.57"}; },
      "a printer that keeps answering");
  EXPECT_EQ(tool.SelectedEntry(app::kPortList), L"192.168.1.57");
  EXPECT_EQ(tool.Text(app::kIpAddress), L"192.168.1.57");

  // Back on LAN after USB, the search starts afresh from the default address.
  Printer("find 192.168.1.57 off");
  tool.Click(app::kRadioUsb);
  EXPECT_FALSE(tool.Visible(app::kIpAddress));
  EXPECT_TRUE(tool.WaitForText(app::kPortList, L"NO USB", 2 * kTickMs + 500));
  tool.Click(app::kRadioLan);
  EXPECT_EQ(tool.Text(app::kIpAddress), L"192.168.1.100");
  EXPECT_EQ(tool.Entries(app::kPortList), kSearching);
  Finish(tool);
}

TEST_F(LanDialogTest, UsersChoiceStaysWhenAnotherPrinterAppears) {
  Printer("find 192.168.1.101 on");
  Printer("find 192.168.1.102 on");
  Tool tool = StartTool();
  tool.Click(app::kRadioLan);
  ASSERT_TRUE(WaitForEntries(tool, {L"192.168.1.101", L"192.168.1.102"}))
      << Join(tool.Entries(app::kPortList));
  // The chosen entry is never the first in the list, so that falling back to the first entry
  // would show; the new printer sorts after the chosen one, then before it, so that keeping the
  // selected index would show.
  struct Step {
    const wchar_t* choose;
    const wchar_t* arrives;
    bool sortsAfter;
  };
  const Step steps[] = {{L"192.168.1.102", L"192.168.1.58", true},
                        {L"192.168.1.58", L"192.168.1.57", false}};
  Entries expected = {L"192.168.1.101", L"192.168.1.102"};
  for (const Step& step : steps) {
    const std::wstring chosen = step.choose;
    const std::wstring arriving = step.arrives;
    SCOPED_TRACE("chosen " + Narrow(chosen) + ", arriving " + Narrow(arriving));
    tool.Select(app::kPortList, chosen);
    ASSERT_GT(IndexOf(tool.Entries(app::kPortList), chosen), 0);
    EXPECT_EQ(tool.Text(app::kIpAddress), chosen);

    // Every reply read is followed by a new request, which every answering printer answers:
    // with more than one of them the socket soon holds as many replies as it can, and a new
    // printer's reply is read only after those queued before it (seconds, see the benchmark).
    Printer("find " + Narrow(arriving) + " on");
    expected.push_back(arriving);
    DWORD arrivedAfter = 0;
    ASSERT_TRUE(WaitForList(
        tool, [&](const Entries& e) { return SameSet(e, expected); }, 20000, &arrivedAfter))
        << Join(tool.Entries(app::kPortList));
    std::printf("%s listed %lu ms after it began to answer\n", Narrow(arriving).c_str(),
                arrivedAfter);
    Entries now = tool.Entries(app::kPortList);
    EXPECT_EQ(IndexOf(now, arriving) > IndexOf(now, chosen), step.sortsAfter) << Join(now);
    EXPECT_EQ(tool.SelectedEntry(app::kPortList), chosen) << Join(now);
    EXPECT_EQ(tool.Text(app::kIpAddress), chosen);
  }
  Finish(tool);
}

TEST_F(LanDialogTest, PrinterThatStopsAnsweringPingsLeavesTheList) {
  Printer("find 192.168.1.57 on");
  Printer("find 192.168.1.58 on");
  Tool tool = StartTool();
  tool.Click(app::kRadioLan);
  ASSERT_TRUE(WaitForEntries(tool, {L"192.168.1.57", L"192.168.1.58"}))
      << Join(tool.Entries(app::kPortList));
  // Gone from the network: the next reply's pings find it silent (one ping time-out).
  Printer("power 192.168.1.58 off");
  DWORD removedAfter = 0;
  EXPECT_TRUE(WaitForList(
      tool, [](const Entries& e) { return e == Entries{L"192.168.1.57"}; }, 4000, &removedAfter))
      << Join(tool.Entries(app::kPortList));
  std::printf("silent printer left the list after %lu ms\n", removedAfter);
  // That pass ended the worker; the port monitor starts a new one, which finds the printer
  // once it is back.
  Printer("power 192.168.1.58 on");
  EXPECT_TRUE(WaitForEntries(tool, {L"192.168.1.57", L"192.168.1.58"}, 4000))
      << Join(tool.Entries(app::kPortList));
  Finish(tool);
}

TEST_F(LanDialogTest, PrinterOfAnotherSegmentIsSentTheSaveCommand) {
  Printer("find 10.0.0.8 on");
  Tool tool = StartTool();
  tool.Click(app::kRadioLan);
  // The pass that sends the command ends the worker; the port monitor restarts it, and the
  // printer, still answering from its old address, is sent the command again.
  std::vector<std::string> saves;
  const DWORD begin = GetTickCount();
  bool listUnchanged = true;
  while (saves.size() < 2 && GetTickCount() - begin < 5000 && listUnchanged) {
    Entries e = tool.Entries(app::kPortList);
    listUnchanged = e == kSearching;
    EXPECT_TRUE(listUnchanged) << "the printer was listed: " << Join(e);
    Sleep(50);
    saves = LanBed::Saves();
  }
  ASSERT_GE(saves.size(), 2u);
  std::optional<std::string> expected = discovery::SaveCommand(LanBed::LastReply("10.0.0.8"));
  ASSERT_TRUE(expected.has_value());
  for (const std::string& save : saves)
    EXPECT_EQ(save, "192.168.1.20 " + testsupport::ToHex(*expected));
  EXPECT_EQ(tool.Entries(app::kPortList), kSearching);
  Finish(tool);
}

TEST_F(LanDialogTest, ClickingLanAgainStartsNoSecondWorker) {
  Tool tool = StartTool();
  tool.Click(app::kRadioLan);
  Sleep(2 * kTickMs);
  tool.Click(app::kRadioLan);
  tool.Click(app::kRadioLan);
  // Without an answering printer every worker's receive waits until the tick cancels it, and
  // each worker then broadcasts its next request: one request per tick from one worker, two or
  // more per tick when the clicks had started further workers on the shared socket.
  const DWORD windowMs = 6 * kTickMs;
  size_t before = FindRequestsSeen();
  const DWORD begin = GetTickCount();
  Sleep(windowMs);
  const DWORD elapsed = GetTickCount() - begin;
  size_t requests = FindRequestsSeen() - before;
  std::printf("%zu requests in %lu ms after three clicks on LAN\n", requests, elapsed);
  EXPECT_GE(requests, elapsed / kTickMs - 2);
  EXPECT_LE(requests, elapsed / kTickMs + 2);

  // Each click resets the list; an answering printer comes back once.
  Printer("find 192.168.1.57 on");
  ASSERT_TRUE(WaitForEntries(tool, {L"192.168.1.57"})) << Join(tool.Entries(app::kPortList));
  Printer("find 192.168.1.57 off");
  Sleep(kTickMs);  // the replies still queued at the socket are read
  tool.Click(app::kRadioLan);
  EXPECT_EQ(tool.Entries(app::kPortList), kSearching);
  Printer("find 192.168.1.57 on");
  ASSERT_TRUE(WaitForEntries(tool, {L"192.168.1.57"})) << Join(tool.Entries(app::kPortList));
  ListStays(
      tool, 3 * kTickMs, [](const Entries& e) { return !HasDuplicates(e); },
      "after the second click");
  Finish(tool);
}

TEST_F(LanDialogTest, SwitchingToUsbClosesTheSocketAndIgnoresLaterResults) {
  Printer("find 192.168.1.57 on");
  Printer("find 192.168.1.58 on");
  Tool tool = StartTool();
  tool.Click(app::kRadioLan);
  ASSERT_TRUE(WaitForEntries(tool, {L"192.168.1.57", L"192.168.1.58"}))
      << Join(tool.Entries(app::kPortList));
  EXPECT_FALSE(UdpPortFree(discovery::kToolPort)) << "the tool's discovery socket holds it";

  // A printer that vanishes keeps the worker in its ping (up to a second), so that the pass
  // ends and posts its results only after the port monitor has listed the USB ports.
  Printer("power 192.168.1.58 off");
  Sleep(150);
  tool.Click(app::kRadioUsb);
  EXPECT_TRUE(UdpPortFree(discovery::kToolPort)) << "the socket is still open after the switch";
  Sleep(100);  // a request sent just before the click reaches the printers' records
  size_t requests = FindRequestsSeen();

  EXPECT_TRUE(tool.WaitForText(app::kPortList, L"NO USB", kTickMs + 500));
  ListStays(
      tool, 4 * kTickMs, [](const Entries& e) { return e == kNoUsb; }, "results after the switch");
  EXPECT_EQ(FindRequestsSeen(), requests);

  // A results message of the worker arriving late, at any time, changes nothing.
  PostMessageW(tool.Handle(), app::kSearchResultsMessage, 0, 0);
  ListStays(
      tool, kTickMs, [](const Entries& e) { return e == kNoUsb; }, "a late results message");
  Finish(tool);
}

TEST_F(LanDialogTest, ClosingDuringAPassEndsTheProcessQuickly) {
  // Where the worker is when the dialog closes: waiting in its receive, running passes one after
  // the other (with a printer that keeps answering they follow each other as fast as the network
  // allows, and their results must not pile up in the dialog's queue ahead of the close), or
  // waiting for the echo of a printer that has gone.
  struct Case {
    const char* name;
    std::vector<std::string> setUp;
    std::vector<std::string> beforeClose;
    size_t listed;
    DWORD runMs;
  };
  const Case cases[] = {
      {"waiting for a reply", {}, {}, 0, kTickMs + kTickMs / 2},
      {"between replies", {"find 192.168.1.57 on"}, {}, 1, 2000},
      {"pinging a silent printer",
       {"find 192.168.1.57 on", "find 192.168.1.58 on"},
       {"power 192.168.1.58 off"},
       2,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Printer("reset");
    for (const std::string& command : c.setUp) Printer(command);
    Tool tool = StartTool();
    tool.Click(app::kRadioLan);
    if (c.listed > 0) {
      ASSERT_TRUE(WaitForList(
          tool, [&](const Entries& e) { return e.size() == c.listed && e != kSearching; }, 3000))
          << Join(tool.Entries(app::kPortList));
    }
    Sleep(c.runMs);
    for (const std::string& command : c.beforeClose) Printer(command);
    if (!c.beforeClose.empty()) Sleep(150);

    const DWORD begin = GetTickCount();
    tool.Close();
    const bool ended = tool.WaitForExit(5000);
    const DWORD elapsed = GetTickCount() - begin;
    std::printf("closed %s: process ended after %lu ms\n", c.name, elapsed);
    ASSERT_TRUE(ended);
    EXPECT_EQ(tool.ExitCode(), 0u);
    // The worker's echo wait (one second at most) is the longest thing a close waits for.
    EXPECT_LT(elapsed, 2500u);
    EXPECT_TRUE(UdpPortFree(discovery::kToolPort));
  }
}

// The number of entries of the port list.
size_t ListCount(const Tool& tool) {
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(tool.Control(app::kPortList), CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000,
                           &count))
    return 0;
  return static_cast<size_t>(count);
}

// Wall-clock time in Unix seconds: the simulator stamps its records with the same clock.
double UnixNow() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t;
  t.LowPart = now.dwLowDateTime;
  t.HighPart = now.dwHighDateTime;
  return (t.QuadPart - 116444736000000000ULL) / 1e7;
}

// The time stamp of the simulator's first FIND record at or after `since`; 0 when none.
double FirstFindAfter(double since) {
  char dir[1024];
  DWORD n = GetEnvironmentVariableA("LAN_BED_DIR", dir, sizeof dir);
  if (n == 0 || n >= sizeof dir) return 0;
  std::wstring path = testsupport::UnixPathToWindows(std::string(dir) + "/records/events.log");
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  std::string text;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    text.append(buffer, read);
  CloseHandle(file);
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    double stamp = 0;
    char word[16] = "";
    if (std::sscanf(line.c_str(), "%lf %15s", &stamp, word) == 2 && stamp >= since &&
        std::string(word) == "find")
      return stamp;
  }
  return 0;
}

// A benchmark rather than a timed test: how long the dialog takes from the click on LAN to the
// first printer listed, and with 20 answering printers until all of them are listed, against the
// 500 ms tick of the port monitor. The limits only catch a search that does not work.
TEST_F(LanDialogTest, ListingBenchmark) {
  struct Round {
    DWORD request = 0;  // the first FIND at the printers
    DWORD first = 0;    // the first printer in the list
    DWORD all = 0;      // all answering printers in the list
    size_t requests = 0;
  };
  Tool tool = StartTool();
  // Clicks LAN and waits until `count` printers are listed; then back to USB, which closes the
  // socket, so that every round starts with an empty one.
  auto measure = [&](size_t count) {
    Round r;
    size_t requestsBefore = FindRequestsSeen();
    const double clicked = UnixNow();
    const DWORD begin = GetTickCount();
    tool.Click(app::kRadioLan);
    // Only the count is asked while waiting: every question is a message that the dialog's
    // thread answers between its own work.
    while (GetTickCount() - begin < 30000) {
      size_t shown = ListCount(tool);
      DWORD now = std::max<DWORD>(GetTickCount() - begin, 1);
      bool printers = shown > 1 || (shown == 1 && tool.Entries(app::kPortList) != kSearching);
      if (printers && r.first == 0) r.first = now;
      if (printers && shown >= count) {
        r.all = now;
        break;
      }
      Sleep(5);
    }
    double find = FirstFindAfter(clicked);
    if (find > 0) r.request = static_cast<DWORD>((find - clicked) * 1000 + 0.5);
    r.requests = FindRequestsSeen() - requestsBefore;
    EXPECT_GT(r.all, 0u) << count << " printers not listed: " << Join(tool.Entries(app::kPortList));
    tool.Click(app::kRadioUsb);
    EXPECT_TRUE(tool.WaitForText(app::kPortList, L"NO USB", 2000));
    return r;
  };
  auto report = [](const char* what, std::vector<Round> rounds, DWORD Round::*field) {
    std::sort(rounds.begin(), rounds.end(),
              [&](const Round& a, const Round& b) { return a.*field < b.*field; });
    std::printf(
        "[ benchmark ] %s: min %lu ms, median %lu ms, max %lu ms (%zu rounds, tick %u ms)\n", what,
        rounds.front().*field, rounds[rounds.size() / 2].*field, rounds.back().*field,
        rounds.size(), kTickMs);
    return rounds[rounds.size() / 2].*field;
  };

  Printer("find 192.168.1.57 on");
  std::vector<Round> one;
  for (int i = 0; i < 5; ++i) one.push_back(measure(1));
  Printer("find 192.168.1.57 off");
  for (int n = 101; n <= 120; ++n) Printer("find 192.168.1." + std::to_string(n) + " on");
  std::vector<Round> twenty;
  for (int i = 0; i < 3; ++i) twenty.push_back(measure(20));

  // A printer that begins to answer while the 20 do: its reply queues behind theirs.
  tool.Click(app::kRadioLan);
  EXPECT_TRUE(WaitForList(
      tool, [](const Entries& e) { return e.size() == 20; }, 30000));
  Sleep(4 * kTickMs);
  Printer("find 192.168.1.57 on");
  DWORD lateAfter = 0;
  bool lateListed = WaitForList(
      tool, [](const Entries& e) { return IndexOf(e, L"192.168.1.57") >= 0; }, 30000, &lateAfter);
  EXPECT_TRUE(lateListed) << Join(tool.Entries(app::kPortList));

  report("1 printer, click on LAN to its request", one, &Round::request);
  RecordProperty("one_listed_ms",
                 static_cast<int>(report("1 printer, click on LAN to listed", one, &Round::first)));
  report("20 printers, click on LAN to the first request", twenty, &Round::request);
  report("20 printers, click on LAN to the first listed", twenty, &Round::first);
  RecordProperty(
      "twenty_all_ms",
      static_cast<int>(report("20 printers, click on LAN to all 20 listed", twenty, &Round::all)));
  for (const Round& r : twenty)
    std::printf("[ benchmark ] 20 printers: all listed after %lu ms = %.1f ticks, %zu requests\n",
                r.all, r.all / static_cast<double>(kTickMs), r.requests);
  std::printf("[ benchmark ] a 21st printer that begins to answer later: listed after %lu ms\n",
              lateAfter);
  RecordProperty("late_arrival_ms", static_cast<int>(lateAfter));
  Finish(tool);
}

}  // namespace
