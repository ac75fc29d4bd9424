#include "common/ipv4_text.h"

namespace common {

std::optional<uint32_t> ParseIpv4(const std::wstring& text) {
  uint32_t address = 0;
  size_t pos = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (pos >= text.size() || text[pos] != L'.') return std::nullopt;
      ++pos;
    }
    size_t start = pos;
    unsigned value = 0;
    while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9' && pos - start < 3) {
      value = value * 10 + static_cast<unsigned>(text[pos] - L'0');
      ++pos;
    }
    size_t digits = pos - start;
    // A fourth digit, a leading zero (which other parsers read as octal) or a value above 255
    // makes the text something other than a plain dotted address.
    if (digits == 0 || value > 255 || (digits > 1 && text[start] == L'0')) return std::nullopt;
    if (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9') return std::nullopt;
    address = (address << 8) | value;
  }
  if (pos != text.size()) return std::nullopt;
  return address;
}

std::wstring FormatIpv4(uint32_t hostOrder) {
  std::wstring text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    if (shift != 24) text += L'.';
    text += std::to_wstring((hostOrder >> shift) & 0xFF);
  }
  return text;
}

}  // namespace common
