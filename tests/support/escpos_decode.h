// Turns the bytes a simulated printer captured into a readable account: text runs, the ESC/POS
// commands the tool sends (ESC d, GS V, GS v 0 raster images, the vendor self-test) and TSPL
// lines. Raster images can be written as PNG files so that a person can look at a ticket.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// One GS v 0 bit image: rows top to bottom, widthBytes bytes each, most significant bit leftmost,
// 1 = black.
struct RasterImage {
  int mode = 0;
  int widthBytes = 0;
  int height = 0;
  std::string rows;

  int Width() const { return widthBytes * 8; }
  bool Dot(int x, int y) const;
  int BlackDots() const;
};

struct DecodedPart {
  enum class Kind {
    Text,      // printable run (ANSI bytes, CR, LF and tab included)
    Zero,      // a zero byte (text pages end with one)
    Feed,      // ESC d n: print and feed n lines
    Cut,       // GS V m: 0 full cut, 1 partial cut
    Raster,    // GS v 0
    SelfTest,  // 1F 1B 1F 67 0A 00
    Tspl,      // one TSPL command line, without its line feed
    Unknown,   // bytes that none of the above explains
  };
  Kind kind;
  std::string text;  // Text, Tspl, Unknown: the bytes
  int value = 0;     // Feed: lines; Cut: mode
  RasterImage image;
};

std::vector<DecodedPart> DecodeCapture(const std::string& bytes);

// One line per part. With an image base path, every raster image is written to
// "<base>-<n>.png" (n from 1, black on white) and the line names the file.
std::string DescribeCapture(const std::string& bytes, const std::string& imageBase = "");

// A portable bitmap (P4) of the image: the same bit layout as the printer's rows.
std::string ToPbm(const RasterImage& image);

// The image as rows of '#' and '.', with an optional column limit, for test messages.
std::string ToAsciiArt(const RasterImage& image, int maxColumns = 80);

}  // namespace testsupport
