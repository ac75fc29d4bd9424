// The raster ticket drawn with GDI and written to a simulated USB printer.
#include <gtest/gtest.h>

#include <functional>

#include "printing/raster_win.h"
#include "printing/usb_ticket.h"
#include "support/escpos_decode.h"
#include "support/hex_bytes.h"
#include "support/host_win.h"
#include "support/sim_printer_win.h"

namespace printing {
namespace {

using testsupport::DecodeCapture;
using testsupport::SimulatedUsbPrinter;

// Unix path for a picture a person can look at: <build>/tickets/<name>.
std::string TicketPicturePath(const std::string& name) {
  std::string dir = testsupport::BinaryDirUnix() + "/tickets";
  testsupport::RunHost("mkdir -p " + testsupport::ShellQuote(dir));
  return dir + "/" + name;
}

TEST(RasterTicket, OneLineIsDrawnTwiceItsHeightAndPackedWithACut) {
  TicketCanvas canvas(L"USB001");
  ASSERT_TRUE(canvas.ok());
  EXPECT_EQ(canvas.width(), 576);
  RECT measured = {0, 0, 0, 0};
  HGDIOBJ previous = SelectObject(canvas.dc(), GetCurrentObject(canvas.dc(), OBJ_FONT));
  DrawTextW(canvas.dc(), L"USB001", 6, &measured, DT_CALCRECT);
  SelectObject(canvas.dc(), previous);
  EXPECT_EQ(canvas.height(), 2 * (measured.bottom - measured.top));

  std::string block = PackRaster(canvas.ReadPixels());
  const int h = canvas.height();
  ASSERT_EQ(block.size(), 12u + 72u * h);
  EXPECT_EQ(testsupport::ToHex(block.substr(0, 8)),
            "1D 76 30 00 48 00 " + testsupport::ToHex(std::string{static_cast<char>(h % 256),
                                                                  static_cast<char>(h / 256)}));
  EXPECT_EQ(testsupport::ToHex(block.substr(block.size() - 4)), "00 1D 56 00");
}

TEST(RasterTicket, DibSectionReadsTheColoursGetPixelReads) {
  TicketCanvas canvas(L"Grey edges: USB012 \x73B0\x5728");
  ASSERT_TRUE(canvas.ok());
  PixelImage image = canvas.ReadPixels();
  ASSERT_EQ(image.pixels.size(), static_cast<size_t>(576) * canvas.height());
  int differences = 0;
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < 576; ++x) {
      COLORREF c = GetPixel(canvas.dc(), x, y);
      std::uint32_t rgb = static_cast<std::uint32_t>(GetRValue(c)) << 16 |
                          static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
      if (image.pixels[static_cast<size_t>(y) * 576 + x] != rgb) ++differences;
    }
  EXPECT_EQ(differences, 0);
}

TEST(RasterTicket, LongLinesWrapIntoTheSpareHalf) {
  std::wstring line;
  for (int i = 0; i < 20; ++i) line += L"word ";
  TicketCanvas canvas(line);
  ASSERT_TRUE(canvas.ok());
  PixelImage image = canvas.ReadPixels();
  int lowerBlack = 0;
  for (int y = canvas.height() / 2; y < canvas.height(); ++y)
    for (int x = 0; x < 576; ++x)
      if (IsBlackDot(image.pixels[static_cast<size_t>(y) * 576 + x])) ++lowerBlack;
  EXPECT_GT(lowerBlack, 0);
}

TEST(RasterTicket, PrintedOnTheUsbDeviceAsOneImage) {
  auto usb = SimulatedUsbPrinter::Attach(L"VID_0483&PID_5720", 7);
  const std::wstring text = UsbTicketText(common::kEnglish, 7);
  PrintTextAsRaster(usb->DevicePath(), text);
  TicketCanvas expected(text);
  const std::string block = PackRaster(expected.ReadPixels());
  ASSERT_TRUE(usb->Capture().WaitForBytes(block.size())) << usb->Capture().Log();
  usb->Capture().Settle();
  EXPECT_EQ(usb->Capture().Opens(), 1);
  EXPECT_TRUE(usb->Capture().Received() == block);
  auto parts = DecodeCapture(usb->Capture().Received());
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[0].image.Width(), 576);
  EXPECT_GT(parts[0].image.BlackDots(), 1000);
  std::string described =
      testsupport::DescribeCapture(usb->Capture().Received(), TicketPicturePath("english-usb007"));
  RecordProperty("ticket", described);
  std::cout << described;
}

TEST(RasterTicket, NothingIsSentForAnEmptyText) {
  auto usb = SimulatedUsbPrinter::Attach(L"VID_0483&PID_5720", 8);
  EXPECT_FALSE(TicketCanvas(L"").ok());
  PrintTextAsRaster(usb->DevicePath(), L"");
  usb->Capture().Settle(300);
  EXPECT_EQ(usb->Capture().Opens(), 0);
  EXPECT_EQ(usb->Capture().Received(), "");
}

// Not a timed test: the render-and-pack time of a port ticket with the pixels read through a DIB
// section, and the same with one GetPixel call per pixel, side by side.
TEST(RasterTicketBenchmark, DibSectionAgainstGetPixel) {
  const std::wstring text = UsbTicketText(common::kEnglish, 1);
  auto byGetPixel = [](const TicketCanvas& canvas) {
    PixelImage image{canvas.width(), canvas.height(), {}};
    image.pixels.reserve(static_cast<size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) {
        COLORREF c = GetPixel(canvas.dc(), x, y);
        image.pixels.push_back(static_cast<std::uint32_t>(GetRValue(c)) << 16 |
                               static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c));
      }
    return image;
  };
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  auto milliseconds = [&](const std::function<std::string()>& render, std::string& block) {
    const int runs = 5;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < runs; ++i) block = render();
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart) / runs;
  };
  std::string dibBlock, getPixelBlock;
  PackRaster(TicketCanvas(text).ReadPixels());  // the font is mapped once, before timing
  double dibMs = milliseconds(
      [&] {
        TicketCanvas canvas(text);
        return PackRaster(canvas.ReadPixels());
      },
      dibBlock);
  double getPixelMs = milliseconds(
      [&] {
        TicketCanvas canvas(text);
        return PackRaster(byGetPixel(canvas));
      },
      getPixelBlock);
  EXPECT_TRUE(dibBlock == getPixelBlock);
  std::printf(
      "benchmark: port ticket 576 x %d, render and pack (mean of 5)\n"
      "  DIB section:  %8.2f ms\n"
      "  GetPixel:     %8.2f ms\n",
      static_cast<int>((dibBlock.size() - 12) / 72), dibMs, getPixelMs);
  RecordProperty("dib_ms", static_cast<int>(dibMs * 1000));
  RecordProperty("getpixel_ms", static_cast<int>(getPixelMs * 1000));
}

}  // namespace
}  // namespace printing
