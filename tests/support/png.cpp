#include "support/png.h"

#include <fstream>

namespace testsupport {
namespace {

void PutBigEndian32(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v >> 24);
  out += static_cast<char>(v >> 16);
  out += static_cast<char>(v >> 8);
  out += static_cast<char>(v);
}

void PutChunk(std::string& out, const char type[4], const std::string& data) {
  PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
  std::string typed(type, 4);
  typed += data;
  out += typed;
  PutBigEndian32(out, Crc32(typed.data(), typed.size()));
}

// A zlib stream of stored deflate blocks (at most 65535 bytes each).
std::string StoredZlib(const std::string& raw) {
  std::string out = "\x78\x01";  // deflate, 32 KiB window, no dictionary, fastest
  size_t pos = 0;
  do {
    size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
    bool last = pos + n == raw.size();
    out += static_cast<char>(last ? 1 : 0);
    out += static_cast<char>(n & 0xFF);
    out += static_cast<char>(n >> 8);
    out += static_cast<char>(~n & 0xFF);
    out += static_cast<char>((~n >> 8) & 0xFF);
    out.append(raw, pos, n);
    pos += n;
  } while (pos < raw.size());
  PutBigEndian32(out, Adler32(raw.data(), raw.size()));
  return out;
}

}  // namespace

std::uint32_t Crc32(const void* data, size_t size, std::uint32_t start) {
  static const auto table = [] {
    std::vector<std::uint32_t> t(256);
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t c = ~start;
  const auto* p = static_cast<const std::uint8_t*>(data);
  for (size_t i = 0; i < size; ++i) c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
  return ~c;
}

std::uint32_t Adler32(const void* data, size_t size, std::uint32_t start) {
  std::uint32_t a = start & 0xFFFF, b = start >> 16;
  const auto* p = static_cast<const std::uint8_t*>(data);
  for (size_t i = 0; i < size; ++i) {
    a = (a + p[i]) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

Image ImageFromBits(const std::string& bits, int bytesPerRow, int rows) {
  if (bytesPerRow <= 0 || rows <= 0) return Image();
  Image image(bytesPerRow * 8, rows, 1, 255);
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < image.width; ++x) {
      size_t at = static_cast<size_t>(y) * bytesPerRow + x / 8;
      if (at < bits.size() && (static_cast<unsigned char>(bits[at]) & (0x80 >> (x % 8)))) {
        *image.At(x, y) = 0;
      }
    }
  }
  return image;
}

std::string EncodePng(const Image& image) {
  static const int kColourType[] = {-1, 0, -1, 2, 6};  // by channel count: grey, RGB, RGBA
  if (image.width <= 0 || image.height <= 0 || image.channels < 1 || image.channels > 4 ||
      kColourType[image.channels] < 0 ||
      image.pixels.size() != static_cast<size_t>(image.width) * image.height * image.channels) {
    return std::string();
  }
  std::string out = "\x89PNG\r\n\x1A\n";
  std::string header;
  PutBigEndian32(header, static_cast<std::uint32_t>(image.width));
  PutBigEndian32(header, static_cast<std::uint32_t>(image.height));
  header += '\x08';  // bits per sample
  header += static_cast<char>(kColourType[image.channels]);
  header += std::string(3, '\0');  // deflate, adaptive filters, no interlace
  PutChunk(out, "IHDR", header);

  const size_t rowBytes = static_cast<size_t>(image.width) * image.channels;
  std::string raw;
  raw.reserve((rowBytes + 1) * image.height);
  for (int y = 0; y < image.height; ++y) {
    raw += '\0';  // filter: none
    raw.append(reinterpret_cast<const char*>(&image.pixels[y * rowBytes]), rowBytes);
  }
  PutChunk(out, "IDAT", StoredZlib(raw));
  PutChunk(out, "IEND", std::string());
  return out;
}

bool WritePngFile(const std::string& path, const Image& image) {
  std::string bytes = EncodePng(image);
  if (bytes.empty()) return false;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file.flush());
}

}  // namespace testsupport
