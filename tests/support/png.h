// A small PNG writer for test output: screenshots of the dialog and pictures of the raster
// images that simulated printers receive. Portable (no windows.h), so native tests use it too.
//
// The files are plain PNG (8-bit grey, RGB or RGBA, no interlace) whose image data is stored in
// uncompressed deflate blocks: bigger than a compressed file, but every viewer reads it and the
// writer stays short.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// Pixels row by row from the top, `channels` bytes per pixel: 1 grey, 3 RGB, 4 RGBA.
struct Image {
  int width = 0;
  int height = 0;
  int channels = 3;
  std::vector<std::uint8_t> pixels;

  Image() = default;
  Image(int w, int h, int c, std::uint8_t fill = 0)
      : width(w), height(h), channels(c), pixels(static_cast<size_t>(w) * h * c, fill) {}
  std::uint8_t* At(int x, int y) {
    return &pixels[(static_cast<size_t>(y) * width + x) * channels];
  }
  const std::uint8_t* At(int x, int y) const {
    return &pixels[(static_cast<size_t>(y) * width + x) * channels];
  }
};

// A 1-bit raster as printers take it (rows of `bytesPerRow` bytes, most significant bit first,
// a set bit prints black) as a grey image: black 0, white 255. Missing trailing bytes are white.
Image ImageFromBits(const std::string& bits, int bytesPerRow, int rows);

// The PNG file's bytes; empty when the image is malformed (size, channels, pixel count).
std::string EncodePng(const Image& image);

// Writes EncodePng(image) to `path`; false when the image is malformed or the file cannot be
// written.
bool WritePngFile(const std::string& path, const Image& image);

// The checksums of the format: CRC-32 of chunks (ISO 3309, as in zlib) and Adler-32 of zlib
// streams. `start` continues an earlier sum.
std::uint32_t Crc32(const void* data, size_t size, std::uint32_t start = 0);
std::uint32_t Adler32(const void* data, size_t size, std::uint32_t start = 1);

}  // namespace testsupport
