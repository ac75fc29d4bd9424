// Texts of the USB port check: the ticket each USB printer prints with its port, and the message
// that lists the ports found. Languages other than Chinese and Japanese get English.
#pragma once

#include <string>

#include "common/types.h"

namespace printing {

// The framed ticket naming the printing port USB<n>, lines ended by CR LF.
std::wstring UsbTicketText(common::LangId language, long long portNumber);

// The message starts with this header; one line per printer follows.
std::wstring UsbPortsMessageHeader(common::LangId language);

// The message with the line "\tUSB<n> ;\r\n" appended.
std::wstring AppendUsbPortLine(const std::wstring& message, long long portNumber);

// Shown when no USB printer was found.
std::wstring UsbNotFoundMessage(common::LangId language);

}  // namespace printing
