#include "printing/usb_ticket.h"

#include "common/format.h"

namespace printing {
namespace {

// Each ticket takes an asterisk, the port number and an asterisk again; the asterisks are
// right-aligned in their fields so that those lines close the frame.
constexpr const wchar_t* kEnglishTicket =
    L"*************************\r\n"
    L"\t\t\t\t\t\t\t\t\t\t*%24c\r\n"
    L"\t\t\t\t\t\t\t\t\t\t* The current printer's *\r\n"
    L"\t\t\t\t\t\t\t\t\t\t*  USBPrinter port is   *\r\n"
    L"\t\t\t\t\t\t\t\t\t\t*        USB%03d         *\r\n"
    L"\t\t\t\t\t\t\t\t\t\t*%24c\r\n"
    L"\t\t\t\t\t\t\t\t\t\t********************\r\n";
constexpr const wchar_t* kJapaneseTicket =
    L"***********************\r\n"
    L"\t\t\t\t\t\t\t\t\t\t*%22c \r\n"
    L"\t\t\t\t\t\t\t\t\t\t* 現在のプリンターの  *\r\n"
    L"\t\t\t\t\t\t\t\t\t\t* USBPrinterポートは  * \r\n"
    L"\t\t\t\t\t\t\t\t\t\t* \t\tUSB%03d\t      *\r\n"
    L"\t\t\t\t\t\t\t\t\t\t*%22c \r\n"
    L"\t\t\t\t\t\t\t\t\t\t***********************\r\n";
constexpr const wchar_t* kChineseTicket =
    L"********************\r\n"
    L"\t\t\t\t\t\t\t\t\t\t*%19c\r\n"
    L"\t\t\t\t\t\t\t\t\t\t* 您使用的当前打印 *\r\n"
    L"\t\t\t\t\t\t\t\t\t\t* 机USB打印端口是  *\r\n"
    L"\t\t\t\t\t\t\t\t\t\t*      USB%03d      *\r\n"
    L"\t\t\t\t\t\t\t\t\t\t*%19c\r\n"
    L"\t\t\t\t\t\t\t\t\t\t********************\r\n";

}  // namespace

std::wstring UsbTicketText(common::LangId language, long long portNumber) {
  const wchar_t* format = language == common::kChinese    ? kChineseTicket
                          : language == common::kJapanese ? kJapaneseTicket
                                                          : kEnglishTicket;
  return common::FormatText(
      format, {static_cast<long long>(L'*'), portNumber, static_cast<long long>(L'*')});
}

std::wstring UsbPortsMessageHeader(common::LangId language) {
  if (language == common::kChinese) return L"当前USB打印机的打印端口是：\r\n";
  if (language == common::kJapanese) return L"現在のUSBプリンターのプリントポートは:\r\n";
  return L"Your USB printer's Port is :\r\n";
}

std::wstring AppendUsbPortLine(const std::wstring& message, long long portNumber) {
  return common::FormatText(L"%s\tUSB%03d ;\r\n", {message, portNumber});
}

std::wstring UsbNotFoundMessage(common::LangId language) {
  if (language == common::kChinese) return L"USB打印机没有接入设备";
  if (language == common::kJapanese) return L"USBプリンターがデバイスに接続されていません!";
  return L"Have not found a USB printer device !";
}

}  // namespace printing
