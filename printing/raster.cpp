#include "printing/raster.h"

namespace printing {

int GreyLevel(std::uint32_t rgb) {
  // Each step is stored as a float so that an x87 build rounds like single precision does;
  // without it a pixel of grey 129 can come out as 128.999 and print.
  volatile float red = 0.30f * static_cast<float>((rgb >> 16) & 0xFF);
  volatile float green = 0.59f * static_cast<float>((rgb >> 8) & 0xFF);
  volatile float blue = 0.11f * static_cast<float>(rgb & 0xFF);
  volatile float sum = red + green;
  volatile float grey = sum + blue;
  return static_cast<int>(grey);
}

bool IsBlackDot(std::uint32_t rgb) { return GreyLevel(rgb) <= 128; }

int RasterRowBytes(int width) { return width > 0 ? (width + 7) / 8 : 0; }

std::string PackRaster(const PixelImage& image) {
  const int w = image.width > 0 ? image.width : 0;
  const int h = image.height > 0 ? image.height : 0;
  const int rowBytes = RasterRowBytes(w);
  if (h > 0xFFFF || rowBytes > 0xFFFF ||
      image.pixels.size() < static_cast<size_t>(w) * static_cast<size_t>(h))
    return std::string();
  std::string block;
  block.reserve(12 + static_cast<size_t>(rowBytes) * h);
  block += "\x1D\x76\x30";
  block += '\0';
  block += static_cast<char>(rowBytes % 256);
  block += static_cast<char>(rowBytes / 256);
  block += static_cast<char>(h % 256);
  block += static_cast<char>((h / 256) % 256);
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* row = image.pixels.data() + static_cast<size_t>(y) * w;
    for (int x0 = 0; x0 < 8 * rowBytes; x0 += 8) {
      unsigned char bits = 0;
      for (int i = 0; i < 8; ++i)
        if (x0 + i < w && IsBlackDot(row[x0 + i])) bits |= static_cast<unsigned char>(0x80 >> i);
      block += static_cast<char>(bits);
    }
  }
  block += std::string("\x00\x1D\x56\x00", 4);
  return block;
}

}  // namespace printing
