#include "discovery/usb_interfaces_win.h"

#include <setupapi.h>

#include <vector>

namespace discovery {

const GUID kUsbPrintInterfaceClass = {
    0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};

namespace {
constexpr DWORD kMaxInterfaces = 255;
}

UsbWalkEnd WalkUsbPrinterInterfaces(const GUID& interfaceClass,
                                    const std::function<UsbWalkStep(const std::wstring&)>& visit) {
  HDEVINFO set = SetupDiGetClassDevsW(&interfaceClass, nullptr, nullptr,
                                      DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return UsbWalkEnd::NoInterfaceSet;
  UsbWalkEnd end = UsbWalkEnd::Finished;
  for (DWORD index = 0; index < kMaxInterfaces; ++index) {
    SP_DEVICE_INTERFACE_DATA data = {};
    data.cbSize = sizeof data;
    if (!SetupDiEnumDeviceInterfaces(set, nullptr, &interfaceClass, index, &data)) break;
    if (data.Flags != SPINT_ACTIVE) continue;  // SPINT_DEFAULT or SPINT_REMOVED as well: skipped
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &data, nullptr, 0, &size, nullptr);
    // Room for the record and a terminating zero even when the reported size is short.
    std::vector<unsigned char> block(size + sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) + 2, 0);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(block.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);  // 6 in a 32-bit process
    if (size == 0 ||
        !SetupDiGetDeviceInterfaceDetailW(set, &data, detail, size, nullptr, nullptr)) {
      end = UsbWalkEnd::DetailUnreadable;
      break;
    }
    if (visit(detail->DevicePath) == UsbWalkStep::Stop) break;
  }
  SetupDiDestroyDeviceInfoList(set);
  return end;
}

}  // namespace discovery
