#include "support/escpos_decode.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "printing/pages.h"
#include "printing/raster.h"
#include "support/hex_bytes.h"
#include "support/png.h"

using testsupport::DecodeCapture;
using testsupport::DescribeCapture;
using testsupport::Hex;

TEST(DecodeCapture, ReceiptPortPageThenFeedAndCut) {
  std::string capture = std::string("COM PORT:COM3\0", 14) + Hex("1B 64 07 1D 56 01");
  EXPECT_EQ(DescribeCapture(capture),
            "text \"COM PORT:COM3\"\n"
            "zero byte\n"
            "ESC d 7 (print, feed lines)\n"
            "GS V 1 (partial cut)\n");
}

TEST(DecodeCapture, TsplLinesSelfTestsAndStrayBytes) {
  std::string label =
      testsupport::Ascii(printing::LabelPortText(7, common::PortKind::Usb, L"USB001"));
  EXPECT_EQ(DescribeCapture(label + '\0'),
            "TSPL SIZE 75 MM,30 MM\n"
            "TSPL GAP 3 MM,0 MM\n"
            "TSPL CLS\n"
            "TSPL TEXT 16,36,\"3\",0,2,2,\"USB PORT:\"\n"
            "TSPL TEXT 16,88,\"3\",0,2,2,\"USB001\"\n"
            "TSPL PRINT 1,1\n"
            "zero byte\n");
  EXPECT_EQ(DescribeCapture(printing::SelfTestCommand(0) + printing::SelfTestCommand(6)),
            "vendor self-test (1F 1B 1F 67 0A 00)\nTSPL SELFTEST\nzero byte\n");
  EXPECT_EQ(DescribeCapture(Hex("1B 40 7F") + "a\tb\r\n"),
            "bytes 1B 40 7F\ntext \"a\\tb\\r\\n\"\n");
}

TEST(DecodeCapture, RasterImageRoundTripsThePackedDots) {
  printing::PixelImage image{20, 3, std::vector<std::uint32_t>(60, 0xFFFFFF)};
  image.pixels[0] = 0;              // (0, 0)
  image.pixels[20 + 19] = 0;        // (19, 1)
  image.pixels[40 + 9] = 0x808080;  // (9, 2), grey 128 prints
  auto parts = DecodeCapture(printing::PackRaster(image));
  ASSERT_EQ(parts.size(), 3u);
  ASSERT_EQ(parts[0].kind, testsupport::DecodedPart::Kind::Raster);
  const auto& decoded = parts[0].image;
  EXPECT_EQ(decoded.Width(), 24);
  EXPECT_EQ(decoded.height, 3);
  EXPECT_EQ(testsupport::ToAsciiArt(decoded),
            "#.......................\n"
            "...................#....\n"
            ".........#..............\n");
  EXPECT_EQ(parts[1].kind, testsupport::DecodedPart::Kind::Zero);
  EXPECT_EQ(parts[2].kind, testsupport::DecodedPart::Kind::Cut);
  EXPECT_EQ(parts[2].value, 0);
}

TEST(DecodeCapture, ImagesAreWrittenAsPictures) {
  printing::PixelImage image{8,
                             2,
                             {0, 0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF, 0,
                              0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0}};
  EXPECT_EQ(testsupport::ToPbm(DecodeCapture(printing::PackRaster(image))[0].image),
            "P4\n8 2\n" + Hex("AA 55"));
  std::string base = testing::TempDir() + "decode_test";
  std::string text = DescribeCapture(printing::PackRaster(image), base);
  EXPECT_EQ(text, "GS v 0 mode 0, 8 x 2 dots, 8 black -> " + base +
                      "-1.png\nzero byte\nGS V 0 (full cut)\n");
  std::ifstream file(base + "-1.png", std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  EXPECT_EQ(content.str(), testsupport::EncodePng(testsupport::ImageFromBits(Hex("AA 55"), 1, 2)));
}

TEST(DecodeCapture, RasterCutShortIsReportedAsBytes) {
  auto parts = DecodeCapture(Hex("1D 76 30 00 02 00 02 00 FF FF FF"));
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0].kind, testsupport::DecodedPart::Kind::Unknown);
  EXPECT_EQ(parts[0].text.size(), 11u);
}
