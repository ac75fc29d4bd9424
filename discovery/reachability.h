// The echo request that tells whether a network printer is there, and its diagnostics.
#pragma once

#include <string>

namespace discovery {

// Data of the echo request: "Fill for test ICMP data" and 9 zero bytes, 32 bytes.
std::string EchoPayload();

// Room for the replies of one echo request, and how long they are waited for.
constexpr unsigned kEchoReplyBufferSize = 256;
constexpr unsigned kEchoTimeoutMs = 1000;

// "Reply from %s: bytes=%d time=%d TTL=%d\n" for the first reply.
std::wstring EchoReplyLine(const std::wstring& from, unsigned long bytes, unsigned long timeMs,
                           unsigned ttl);

constexpr const wchar_t* kDebugPrinterOnline = L"打印机在线\n";     // after the address
constexpr const wchar_t* kDebugPrinterOffline = L"打印机不在线\n";  // after the address
constexpr const wchar_t* kDebugNoIcmpHandle = L"IcmpCreateFile failed \n";

}  // namespace discovery
