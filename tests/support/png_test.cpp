#include "support/png.h"

#include <gtest/gtest.h>

#include "support/hex_bytes.h"

namespace testsupport {
namespace {

// Expected files built independently with Python's zlib.compress(raw, 0) and binascii.crc32.
TEST(Png, SmallImagesAreByteExact) {
  Image rgb(2, 1, 3);
  rgb.pixels = {255, 0, 0, 0, 0, 255};
  EXPECT_EQ(ToHex(EncodePng(rgb)),
            "89 50 4E 47 0D 0A 1A 0A 00 00 00 0D 49 48 44 52 00 00 00 02 00 00 00 01 08 02 00 00 "
            "00 7B 40 E8 DD 00 00 00 12 49 44 41 54 78 01 01 07 00 F8 FF 00 FF 00 00 00 00 FF 07 "
            "00 01 FF 55 36 BA C7 00 00 00 00 49 45 4E 44 AE 42 60 82");

  Image grey(1, 2, 1);
  grey.pixels = {0x00, 0xFF};
  EXPECT_EQ(ToHex(EncodePng(grey)),
            "89 50 4E 47 0D 0A 1A 0A 00 00 00 0D 49 48 44 52 00 00 00 01 00 00 00 02 08 00 00 00 "
            "00 BC EA E9 FB 00 00 00 0F 49 44 41 54 78 01 01 04 00 FB FF 00 00 00 FF 01 03 01 00 "
            "7C C2 74 DB 00 00 00 00 49 45 4E 44 AE 42 60 82");
}

TEST(Png, Checksums) {
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(Adler32("Wikipedia", 9), 0x11E60398u);
  // Continuing a sum over a second piece gives the sum of the whole.
  EXPECT_EQ(Crc32("6789", 4, Crc32("12345", 5)), 0xCBF43926u);
  EXPECT_EQ(Adler32("pedia", 5, Adler32("Wiki", 4)), 0x11E60398u);
}

std::uint32_t BigEndian32(const std::string& s, size_t at) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) << 24) |
         (static_cast<unsigned char>(s[at + 1]) << 16) |
         (static_cast<unsigned char>(s[at + 2]) << 8) | static_cast<unsigned char>(s[at + 3]);
}

// An image whose data exceeds one stored block (65535 bytes) must be split into several blocks
// with correct lengths, exactly one final block, and the zlib checksum of the whole.
TEST(Png, LargeImageSpansSeveralStoredBlocks) {
  Image image(200, 200, 3);
  for (int y = 0; y < 200; ++y)
    for (int i = 0; i < 600; ++i) image.pixels[y * 600 + i] = static_cast<std::uint8_t>(i * 7 + y);
  std::string png = EncodePng(image);
  ASSERT_FALSE(png.empty());

  const size_t idat = png.find("IDAT");
  ASSERT_NE(idat, std::string::npos);
  const size_t length = BigEndian32(png, idat - 4);
  const std::string zlib = png.substr(idat + 4, length);
  EXPECT_EQ(BigEndian32(png, idat + 4 + length), Crc32(png.data() + idat, length + 4));
  EXPECT_EQ(ToHex(zlib.substr(0, 2)), "78 01");

  std::string raw;
  size_t pos = 2;
  int blocks = 0, finals = 0;
  while (pos + 5 <= zlib.size() - 4) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(zlib.data() + pos);
    const unsigned len = b[1] | (b[2] << 8), nlen = b[3] | (b[4] << 8);
    ASSERT_EQ(len ^ 0xFFFFu, nlen);
    raw += zlib.substr(pos + 5, len);
    pos += 5 + len;
    ++blocks;
    finals += b[0] & 1;
  }
  EXPECT_EQ(pos, zlib.size() - 4);
  EXPECT_EQ(blocks, 2);
  EXPECT_EQ(finals, 1);
  ASSERT_EQ(raw.size(), 200u * 601u);
  EXPECT_EQ(raw[601], '\0');  // filter byte of row 1
  EXPECT_EQ(static_cast<unsigned char>(raw[601 + 1 + 10]), (10 * 7 + 1) & 0xFF);
  // Adler-32 of the filtered rows, from zlib.adler32.
  EXPECT_EQ(BigEndian32(zlib, zlib.size() - 4), 0x9545E4A8u);
}

TEST(Png, MalformedImagesGiveNothing) {
  Image wrongCount(2, 2, 3);
  wrongCount.pixels.pop_back();
  Image twoChannels(1, 1, 2);
  const Image cases[] = {Image(), Image(0, 5, 3), wrongCount, twoChannels, Image(1, 1, 5)};
  for (const Image& image : cases) EXPECT_EQ(EncodePng(image), "");
  EXPECT_FALSE(WritePngFile("/nonexistent-dir/x.png", Image(1, 1, 1)));
}

TEST(Png, BitsBecomeBlackOnWhite) {
  // Two rows of one byte: 1000 0001 and 0100 0000; the second row's byte is missing partly.
  Image image = ImageFromBits(Hex("81 40"), 1, 3);
  ASSERT_EQ(image.width, 8);
  ASSERT_EQ(image.height, 3);
  ASSERT_EQ(image.channels, 1);
  std::string rows;
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 8; ++x) rows += *image.At(x, y) == 0 ? '#' : '.';
    rows += '|';
  }
  EXPECT_EQ(rows, "#......#|.#......|........|");
  EXPECT_EQ(ImageFromBits("", 0, 1).width, 0);
}

}  // namespace
}  // namespace testsupport
