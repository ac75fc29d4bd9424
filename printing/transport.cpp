#include "printing/transport.h"

#include <climits>

namespace printing {
namespace {

constexpr const wchar_t* kKeywords[] = {L"LPT", L"COM", L"USB", L"LAN"};

constexpr std::string_view kTransportVendorIds[] = {
    "vid_067b", "vid_0416", "vid_0483", "vid_1fc9", "vid_1cbe",
    "vid_28e9", "vid_0471", "vid_2d37", "vid_04b8",
};

bool IsSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

}  // namespace

std::wstring UpperAscii(std::wstring text) {
  for (auto& c : text)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return text;
}

int ParseBaudRate(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = value * 10 + (text[i] - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

bool SelectTransportSettings(TransportSettings& settings, const std::wstring& portName,
                             const std::wstring& parameter) {
  const std::wstring name = UpperAscii(portName);
  int found = -1;
  for (int i = 0; i < 4 && found < 0; ++i)
    if (name.find(kKeywords[i]) != std::wstring::npos) found = i;
  if (found < 0) return false;
  settings.kind = static_cast<TransportKind>(found);
  switch (settings.kind) {
    case TransportKind::Lpt:
      settings.parallelPortName = name;
      break;
    case TransportKind::Com: {
      size_t colon = name.rfind(L':');
      settings.serialPortName = colon == std::wstring::npos ? name : name.substr(0, colon);
      settings.baudRate = ParseBaudRate(parameter);
      break;
    }
    case TransportKind::Usb:
    case TransportKind::Lan:
      break;
  }
  return true;
}

std::wstring SerialDeviceName(const std::wstring& portName) {
  return portName.size() > 4 ? L"\\\\.\\" + portName : portName;
}

std::optional<SerialLineSettings> SerialLineFor(const TransportSettings& settings) {
  if (settings.baudRate <= 0) return std::nullopt;
  return SerialLineSettings{static_cast<unsigned long>(settings.baudRate), 8, settings.parity,
                            settings.stopBits, true};
}

bool IsKnownUsbVendor(std::string_view ansiDevicePath) {
  if (ansiDevicePath.size() < 25) return false;
  std::string window(ansiDevicePath.substr(8, 17));
  for (auto& c : window)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  for (auto id : kTransportVendorIds)
    if (window.find(id) != std::string::npos) return true;
  return false;
}

unsigned ReenableTimerPeriod(TransportKind kind) {
  switch (kind) {
    case TransportKind::Lpt:
    case TransportKind::Com:
      return 5000;
    case TransportKind::Usb:
      return 10000;
    case TransportKind::Lan:
      break;
  }
  return 0;
}

}  // namespace printing
