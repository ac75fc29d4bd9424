// Packing a picture into one ESC/POS raster bit image (GS v 0) followed by a full cut.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace printing {

// A picture read from a bitmap: width x height colours 0x00RRGGBB, rows top to bottom.
struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// 0.30 red + 0.59 green + 0.11 blue in single precision, fraction cut off.
int GreyLevel(std::uint32_t rgb);

// A dot prints when its grey level is 128 or darker.
bool IsBlackDot(std::uint32_t rgb);

// Bytes of one dot row: the width raised to the next multiple of 8, divided by 8.
int RasterRowBytes(int width);

// GS v 0 mode 0 with the row byte count and the height (little-endian), the dot rows (most
// significant bit = leftmost dot, 1 = black), then 00 and GS V 0: 12 + rows x row bytes in all.
// Heights above 65535 are not representable in the header and give an empty block.
std::string PackRaster(const PixelImage& image);

}  // namespace printing
