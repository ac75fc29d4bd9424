// Values the dialog starts its controls with.
#pragma once

#include <cstdint>

namespace app {

// Baud rates of the baud list, in this order (the list is not sorted); "19200" is preselected
// (kDefaultBaudIndex in app/port_list.h).
constexpr const wchar_t* kBaudRates[] = {L"9600", L"19200", L"38400", L"115200"};

// The address control's default printer address, 192.168.1.100, in host byte order.
constexpr uint32_t kDefaultPrinterAddress = (192u << 24) | (168u << 16) | (1u << 8) | 100u;

}  // namespace app
