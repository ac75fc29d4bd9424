// The pages and commands sent straight to a printer, and which transport each connection kind
// selects. Text pages are wide texts here; the transport converts them to the ANSI code page and
// sends them with their terminating zero byte (PageBytes).
#pragma once

#include <optional>
#include <string>

#include "common/types.h"

namespace printing {

// ESC d 7 (print and feed seven lines), GS V 1 (partial cut): sent after a receipt port page.
constexpr unsigned char kFeedAndPartialCut[] = {0x1B, 0x64, 0x07, 0x1D, 0x56, 0x01};

// Rows of the model table below 6 are receipt printers; no selection (-1) counts as receipt.
bool IsReceiptModel(int modelIndex);

// The one-line receipt page: the kind's heading and the port text, no line end. Empty for a kind
// without a receipt page (USB prints a raster ticket instead; Other nothing).
std::wstring ReceiptPortText(common::PortKind kind, const std::wstring& port);

// The TSPL label page for a label model: size by model, gap, clear, two text lines (the kind's
// heading, the port in quotes), print one. Empty for the kind Other.
std::wstring LabelPortText(int modelIndex, common::PortKind kind, const std::wstring& port);

// The bytes of a text page: its ANSI text and the terminating zero byte.
std::string PageBytes(const std::string& ansiText);

// The printer's own self-test: a vendor command for receipt printers, TSPL SELFTEST with its zero
// byte for label printers.
std::string SelfTestCommand(int modelIndex);

// The arguments of SelectTransport for a connection kind: the port (or address) and baud text
// come from the dialog. None for the kind Other.
struct TransportRequest {
  std::wstring portName;
  std::wstring parameter;
};
std::optional<TransportRequest> TransportRequestFor(common::PortKind kind, const std::wstring& port,
                                                    const std::wstring& baudText);

// Shown when a port page could not be sent.
std::wstring CheckConnectionMessage(common::LangId language);

}  // namespace printing
