// Dotted IPv4 texts and 32-bit addresses, in both directions. Windows XP has no InetPtonW or
// InetNtopW, so the tool converts the texts itself.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace common {

// The address of a strict dotted-decimal text ("192.168.1.100"), in host byte order (the first
// number is the most significant byte). Exactly four numbers of 0 to 255, written in decimal
// without leading zeros, separated by single dots; nothing else, not even blanks.
std::optional<uint32_t> ParseIpv4(const std::wstring& text);

// The dotted-decimal text of an address in host byte order.
std::wstring FormatIpv4(uint32_t hostOrder);

}  // namespace common
