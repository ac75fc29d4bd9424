#include "discovery/lan_discovery_win.h"

// The IP Helper types before the ICMP calls.
// clang-format off
#include <iphlpapi.h>
#include <icmpapi.h>
// clang-format on

#include <cstdio>

#include "classlib/ansi_text_win.h"
#include "common/ipv4_text.h"
#include "discovery/lan_adapters.h"
#include "discovery/lan_protocol.h"
#include "discovery/reachability_win.h"

namespace discovery {

classlib::DatagramSocket lanSocket;
std::atomic<bool> lanListening{false};
std::atomic<HANDLE> icmpHandle{INVALID_HANDLE_VALUE};

namespace {

constexpr uint32_t kLimitedBroadcast = 0xFFFFFFFF;
// A pass without an endpoint waits this long (one port-monitor tick), so that a worker whose
// endpoint could not be opened does not spin and flood the dialog with results messages.
constexpr DWORD kIdlePassMs = 500;

classlib::CriticalSection textLock;
std::wstring lanStatusText;
std::wstring localAddressText;

void Debug(const std::wstring& line) { OutputDebugStringW(line.c_str()); }

// The system's text for an error, in the user's default language.
void DebugError(DWORD error) {
  wchar_t text[256] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                 MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, 256, nullptr);
  OutputDebugStringW(text);
}

void DebugSendResult(bool sent) {
  if (sent) {
    Debug(kDebugSendOk);
  } else {
    DebugError(GetLastError());
  }
}

void SetLanStatusText(const std::wstring& text) {
  classlib::Lock lock(textLock);
  lanStatusText = text;
}

std::vector<AdapterRecord> ReadAdapters(const IP_ADAPTER_INFO* adapter) {
  std::vector<AdapterRecord> records;
  for (; adapter != nullptr; adapter = adapter->Next) {
    AdapterRecord record;
    record.type = adapter->Type;
    UINT length = adapter->AddressLength;
    if (length > MAX_ADAPTER_ADDRESS_LENGTH) length = MAX_ADAPTER_ADDRESS_LENGTH;
    record.hardwareAddress.assign(reinterpret_cast<const char*>(adapter->Address), length);
    for (const IP_ADDR_STRING* entry = &adapter->IpAddressList; entry != nullptr;
         entry = entry->Next) {
      const char* text = entry->IpAddress.String;
      size_t size = 0;
      while (size < sizeof entry->IpAddress.String && text[size] != '\0') ++size;
      record.addresses.push_back(classlib::AnsiToWide(std::string_view(text, size)));
    }
    records.push_back(record);
  }
  return records;
}

}  // namespace

std::wstring LanStatusText() {
  classlib::Lock lock(textLock);
  return lanStatusText;
}

std::wstring LocalAddressText() {
  classlib::Lock lock(textLock);
  return localAddressText;
}

void OpenDiscoveryEndpoint() {
  if (lanListening) return;
  if (lanSocket.Create(kToolPort)) {
    Debug(kDebugEndpointOpened);
    lanListening = true;
  } else {
    Debug(kDebugEndpointFailed);
  }
  // The handle carries no state of its own, so one that is open serves on; opening a new one at
  // every restart of the search would leak the old.
  if (icmpHandle.load() == INVALID_HANDLE_VALUE) icmpHandle = IcmpCreateFile();
}

std::wstring ScanLocalAdapters() {
  std::vector<unsigned char> buffer(sizeof(IP_ADAPTER_INFO));
  ULONG size = static_cast<ULONG>(buffer.size());
  DWORD result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
  if (result == ERROR_BUFFER_OVERFLOW) {
    buffer.assign(size, 0);
    result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
  }
  if (result != ERROR_SUCCESS) return L"";

  AdapterReport report =
      DescribeAdapters(ReadAdapters(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data())));
  for (const std::wstring& line : report.debugLines) Debug(line);
  std::fputs(report.standardOutput.c_str(), stdout);
  std::fflush(stdout);
  {
    classlib::Lock lock(textLock);
    localAddressText = report.localAddressText;
  }
  return report.localAddressText;
}

bool RunDiscoveryPass(std::vector<std::wstring>& foundPrinters,
                      classlib::CriticalSection& foundPrintersLock) {
  if (!lanListening) {
    Sleep(kIdlePassMs);
    return true;
  }
  lanSocket.SetBroadcast(true);
  Debug(kDebugFindSent);
  DebugSendResult(lanSocket.SendTo(FindRequest(), kLimitedBroadcast, kPrinterPort));

  std::string received;
  uint32_t senderAddress = 0;
  Sender sender;
  auto result = lanSocket.ReceiveFrom(kReceiveBufferSize, received, senderAddress, sender.port);
  DWORD receiveError = GetLastError();  // before the debug output can change it
  Debug(kDebugReceived);
  if (result != classlib::DatagramSocket::Receive::Datagram) {
    DebugError(receiveError);
    return true;
  }
  sender.address = common::FormatIpv4(senderAddress);

  ReceivedReply reply = ReadReply(received, sender, LocalAddressText());
  if (reply.kind == ReplyKind::NotAReply) return true;
  std::wstring status =
      ReplyStatusText(classlib::AnsiToWide(reply.text), sender.address, sender.port);
  SetLanStatusText(status);
  Debug(L"\n");
  Debug(status);
  Debug(L"\n");
  if (reply.kind == ReplyKind::OwnSegment) Debug(kDebugOwnSegment);
  if (reply.kind == ReplyKind::OtherSegment) Debug(kDebugSwitchToDhcp);

  std::vector<std::wstring> known;
  {
    classlib::Lock lock(foundPrintersLock);
    known = foundPrinters;
  }
  PassDecision decision = DecidePass(reply, sender, known, PingPrinter);
  {
    classlib::Lock lock(foundPrintersLock);
    ApplyPass(decision, foundPrinters);
  }

  if (decision.saveCommand) {
    if (lanListening) {
      lanSocket.SetBroadcast(true);
      Debug(classlib::AnsiToWide(TextPart(*decision.saveCommand)));
      DebugSendResult(lanSocket.SendTo(*decision.saveCommand, kLimitedBroadcast, kPrinterPort));
    } else {
      Debug(kDebugNoSendSocket);
    }
  }
  return decision.goOn;
}

void CancelDiscoveryReceive() { lanSocket.CancelBlockingCall(); }

void StopLanDiscovery() {
  if (!lanListening) return;
  lanSocket.Close();
  SetLanStatusText(kStatusStopped);
  lanListening = false;
}

}  // namespace discovery
