// The USB printing ports of the attached printers: the port list's listing and the Check Port
// message with a port ticket printed on every printer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/types.h"
#include "discovery/usb_ports.h"

namespace discovery {

// When true the "Linked" value is not required of an interface. Set by Check Port and Install
// Now on Windows 8 and later and by every USB tick of the port monitor; nothing clears it.
extern bool usbSkipLinkCheck;

// Reads one value of the interface's device-class key into the buffer (zeroed first). The last
// byte always stays zero.
bool ReadDeviceClassValue(const std::wstring& devicePath, const std::wstring& subkeyName,
                          const std::wstring& valueName,
                          unsigned char (&buffer)[kDeviceClassValueBytes]);

// Empties the list and fills it with the port names of the printers found ("USB001"), true when
// any. When the interface set cannot be obtained the list stays as it was and the result is
// false; an unreadable interface stops the walk with false, keeping the names found so far.
bool ListUsbPrinterPorts(std::vector<std::wstring>& portList);

// Prints a port ticket on every printer found and shows their ports in a message box owned by
// the main window; shows the not-found message instead when there is none. True when at least
// one printer was found. Texts in `language`.
bool ShowUsbPrinterPorts(const GUID& interfaceClass, common::LangId language);

}  // namespace discovery
