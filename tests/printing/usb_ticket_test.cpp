#include "printing/usb_ticket.h"

#include <gtest/gtest.h>

using common::kChinese;
using common::kEnglish;
using common::kJapanese;

namespace {
const std::wstring kIndent(10, L'\t');
}

TEST(UsbTicketText, EnglishFrameClosesWithRightAlignedAsterisks) {
  EXPECT_EQ(printing::UsbTicketText(kEnglish, 3),
            L"*************************\r\n" + kIndent + L"*" + std::wstring(23, L' ') + L"*\r\n" +
                kIndent + L"* The current printer's *\r\n" + kIndent +
                L"*  USBPrinter port is   *\r\n" + kIndent + L"*        USB003         *\r\n" +
                kIndent + L"*" + std::wstring(23, L' ') + L"*\r\n" + kIndent +
                L"********************\r\n");
}

TEST(UsbTicketText, JapaneseAndChinese) {
  EXPECT_EQ(printing::UsbTicketText(kJapanese, 12),
            L"***********************\r\n" + kIndent + L"*" + std::wstring(21, L' ') + L"* \r\n" +
                kIndent + L"* 現在のプリンターの  *\r\n" + kIndent +
                L"* USBPrinterポートは  * \r\n" + kIndent + L"* \t\tUSB012\t      *\r\n" + kIndent +
                L"*" + std::wstring(21, L' ') + L"* \r\n" + kIndent +
                L"***********************\r\n");
  EXPECT_EQ(printing::UsbTicketText(kChinese, 1234),
            L"********************\r\n" + kIndent + L"*" + std::wstring(18, L' ') + L"*\r\n" +
                kIndent + L"* 您使用的当前打印 *\r\n" + kIndent + L"* 机USB打印端口是  *\r\n" +
                kIndent + L"*      USB1234      *\r\n" + kIndent + L"*" + std::wstring(18, L' ') +
                L"*\r\n" + kIndent + L"********************\r\n");
  // Other languages get the English ticket.
  EXPECT_EQ(printing::UsbTicketText(0x0404, 3), printing::UsbTicketText(kEnglish, 3));
}

TEST(UsbPortsMessage, HeaderThenOneLinePerPrinter) {
  std::wstring message = printing::UsbPortsMessageHeader(kEnglish);
  message = printing::AppendUsbPortLine(message, 1);
  message = printing::AppendUsbPortLine(message, 12);
  EXPECT_EQ(message, L"Your USB printer's Port is :\r\n\tUSB001 ;\r\n\tUSB012 ;\r\n");
  EXPECT_EQ(printing::UsbPortsMessageHeader(kJapanese),
            L"現在のUSBプリンターのプリントポートは:\r\n");
  EXPECT_EQ(printing::UsbPortsMessageHeader(kChinese), L"当前USB打印机的打印端口是：\r\n");
}

TEST(UsbPortsMessage, NotFoundByLanguage) {
  EXPECT_EQ(printing::UsbNotFoundMessage(kEnglish), L"Have not found a USB printer device !");
  EXPECT_EQ(printing::UsbNotFoundMessage(0x0412), L"Have not found a USB printer device !");
  EXPECT_EQ(printing::UsbNotFoundMessage(kJapanese),
            L"USBプリンターがデバイスに接続されていません!");
  EXPECT_EQ(printing::UsbNotFoundMessage(kChinese), L"USB打印机没有接入设备");
}
