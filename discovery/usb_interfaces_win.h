// The walk over the present interfaces of a USB printing device class, shared by the port
// listing and by the transport that opens the printer.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace discovery {

// GUID_DEVINTERFACE_USBPRINT, {28D78FAD-5A12-11D1-AE5B-0000F803A8C2}.
extern const GUID kUsbPrintInterfaceClass;

enum class UsbWalkStep { Next, Stop };
enum class UsbWalkEnd {
  NoInterfaceSet,    // the class's interface set could not be obtained
  DetailUnreadable,  // an interface's device path could not be read: the walk stopped there
  Finished,          // every interface was seen, or the visitor stopped the walk
};

// Visits the device path of every interface (at most 255) whose flags are exactly SPINT_ACTIVE,
// in enumeration order.
UsbWalkEnd WalkUsbPrinterInterfaces(const GUID& interfaceClass,
                                    const std::function<UsbWalkStep(const std::wstring&)>& visit);

}  // namespace discovery
