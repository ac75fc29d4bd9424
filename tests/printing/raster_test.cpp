#include "printing/raster.h"

#include <gtest/gtest.h>

#include "support/hex_bytes.h"

using printing::PackRaster;
using printing::PixelImage;
using testsupport::ToHex;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

PixelImage Blank(int width, int height) {
  return PixelImage{width, height,
                    std::vector<std::uint32_t>(static_cast<size_t>(width) * height, kWhite)};
}

std::uint32_t Rgb(int r, int g, int b) { return static_cast<std::uint32_t>(r << 16 | g << 8 | b); }

}  // namespace

TEST(PackRaster, TicketSizedBlockHasHeaderRowsAndTrailer) {
  // A one-line ticket measured 30 pixels high is drawn 576 x 60.
  std::string block = PackRaster(Blank(576, 60));
  ASSERT_EQ(block.size(), 4332u);  // 8 + 72 x 60 + 4
  EXPECT_EQ(ToHex(block.substr(0, 8)), "1D 76 30 00 48 00 3C 00");
  EXPECT_EQ(ToHex(block.substr(block.size() - 4)), "00 1D 56 00");
  EXPECT_EQ(block.find_first_not_of('\0', 8), block.size() - 3);  // all rows white
}

TEST(PackRaster, CountsAreLittleEndian) {
  std::string block = PackRaster(Blank(2049, 300));  // 257 row bytes, 300 rows
  EXPECT_EQ(ToHex(block.substr(4, 4)), "01 01 2C 01");
  EXPECT_EQ(block.size(), 12u + 257u * 300u);
}

TEST(PackRaster, LeftmostDotIsTheMostSignificantBitAndPaddingIsWhite) {
  // 10 dots wide: two bytes a row, the last six bits beyond the image.
  PixelImage image = Blank(10, 2);
  image.pixels[0] = kBlack;       // row 0, x 0
  image.pixels[7] = kBlack;       // row 0, x 7
  image.pixels[9] = kBlack;       // row 0, x 9
  image.pixels[10 + 8] = kBlack;  // row 1, x 8
  std::string block = PackRaster(image);
  ASSERT_EQ(block.size(), 12u + 2u * 2u);
  EXPECT_EQ(ToHex(block.substr(8, 4)), "81 40 00 80");
}

TEST(PackRaster, GreyThresholdIsInclusive128) {
  struct Case {
    std::uint32_t colour;
    int grey;
    bool black;
  };
  const Case cases[] = {
      {Rgb(128, 128, 128), 128, true},
      {Rgb(129, 129, 129), 129, false},
      {Rgb(255, 0, 0), 76, true},
      {Rgb(0, 218, 0), 128, true},
      {Rgb(0, 219, 0), 129, false},
      {Rgb(0, 0, 255), 28, true},
      {kWhite, 255, false},
      {kBlack, 0, true},
      {0xFF000000 | kWhite, 255, false},  // a bitmap's unused top byte is ignored
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.colour);
    EXPECT_EQ(printing::GreyLevel(c.colour), c.grey);
    PixelImage one{1, 1, {c.colour}};
    EXPECT_EQ(static_cast<unsigned char>(PackRaster(one)[8]), c.black ? 0x80 : 0x00);
  }
}

TEST(PackRaster, EmptyAndUnrepresentableImages) {
  EXPECT_EQ(ToHex(PackRaster(Blank(576, 0))), "1D 76 30 00 48 00 00 00 00 1D 56 00");
  EXPECT_EQ(ToHex(PackRaster(PixelImage{})), "1D 76 30 00 00 00 00 00 00 1D 56 00");
  EXPECT_EQ(PackRaster(Blank(8, 65536)), "");             // the height does not fit the header
  EXPECT_EQ(PackRaster(PixelImage{8, 2, {kBlack}}), "");  // fewer pixels than the size says
}
