#include "support/escpos_decode.h"

#include <fstream>

#include "support/hex_bytes.h"
#include "support/png.h"

namespace testsupport {
namespace {

using Kind = DecodedPart::Kind;

const char* const kTsplCommands[] = {"SIZE ",    "GAP ",       "CLS",        "TEXT ",    "PRINT ",
                                     "SELFTEST", "DIRECTION ", "REFERENCE ", "DENSITY ", "SPEED ",
                                     "BAR ",     "BARCODE ",   "QRCODE ",    "BITMAP "};

bool StartsWith(const std::string& bytes, size_t at, const std::string& prefix) {
  return bytes.compare(at, prefix.size(), prefix) == 0;
}

// The length of the TSPL line at `at` with its line feed, or 0 when none starts there.
size_t TsplLineLength(const std::string& bytes, size_t at) {
  size_t end = bytes.find('\n', at);
  if (end == std::string::npos) return 0;
  for (const char* command : kTsplCommands)
    if (StartsWith(bytes, at, command) && at + std::string(command).size() <= end + 1)
      return end + 1 - at;
  return 0;
}

bool IsTextByte(unsigned char c) {
  return c >= 0x20 ? c != 0x7F : (c == '\r' || c == '\n' || c == '\t');
}

// Text with its control characters spelled out, in quotes.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\t')
      out += "\\t";
    else if (c == '"')
      out += "\\\"";
    else
      out += c;
  }
  return out + "\"";
}

}  // namespace

bool RasterImage::Dot(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= height) return false;
  unsigned char b = static_cast<unsigned char>(rows[static_cast<size_t>(y) * widthBytes + x / 8]);
  return (b & (0x80 >> (x % 8))) != 0;
}

int RasterImage::BlackDots() const {
  int count = 0;
  for (unsigned char b : rows)
    for (; b != 0; b &= static_cast<unsigned char>(b - 1)) ++count;
  return count;
}

std::vector<DecodedPart> DecodeCapture(const std::string& bytes) {
  std::vector<DecodedPart> parts;
  auto add = [&parts](Kind kind, std::string text = "", int value = 0) {
    if ((kind == Kind::Text || kind == Kind::Unknown) && !parts.empty() &&
        parts.back().kind == kind) {
      parts.back().text += text;
      return;
    }
    parts.push_back(DecodedPart{kind, std::move(text), value, {}});
  };
  const std::string selfTest("\x1F\x1B\x1F\x67\x0A\x00", 6);
  size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    const size_t left = bytes.size() - i;
    bool lineStart = i == 0 || bytes[i - 1] == '\n' || bytes[i - 1] == '\0';
    size_t tspl = lineStart ? TsplLineLength(bytes, i) : 0;
    if (tspl > 0) {
      add(Kind::Tspl, bytes.substr(i, tspl - 1));
      i += tspl;
    } else if (StartsWith(bytes, i, selfTest)) {
      add(Kind::SelfTest);
      i += selfTest.size();
    } else if (c == 0x1B && left >= 3 && bytes[i + 1] == 'd') {
      add(Kind::Feed, "", static_cast<unsigned char>(bytes[i + 2]));
      i += 3;
    } else if (c == 0x1D && left >= 3 && bytes[i + 1] == 'V') {
      add(Kind::Cut, "", static_cast<unsigned char>(bytes[i + 2]));
      i += 3;
    } else if (c == 0x1D && left >= 8 && bytes[i + 1] == 'v' && bytes[i + 2] == '0') {
      auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[i + k]); };
      RasterImage image;
      image.mode = at(3);
      image.widthBytes = at(4) + 256 * at(5);
      image.height = at(6) + 256 * at(7);
      size_t size = static_cast<size_t>(image.widthBytes) * image.height;
      if (left - 8 < size) {
        add(Kind::Unknown, bytes.substr(i));  // cut short: the printer would wait for more
        break;
      }
      image.rows = bytes.substr(i + 8, size);
      parts.push_back(DecodedPart{Kind::Raster, "", 0, std::move(image)});
      i += 8 + size;
    } else if ((c == 0x1B || c == 0x1D) && left >= 2) {
      add(Kind::Unknown, bytes.substr(i, 2));  // a command the tool does not send
      i += 2;
    } else if (c == 0) {
      add(Kind::Zero);
      ++i;
    } else if (IsTextByte(c)) {
      add(Kind::Text, std::string(1, static_cast<char>(c)));
      ++i;
    } else {
      add(Kind::Unknown, std::string(1, static_cast<char>(c)));
      ++i;
    }
  }
  return parts;
}

std::string DescribeCapture(const std::string& bytes, const std::string& imageBase) {
  std::string out;
  int images = 0;
  for (const auto& part : DecodeCapture(bytes)) {
    switch (part.kind) {
      case Kind::Text:
        out += "text " + Quoted(part.text);
        break;
      case Kind::Zero:
        out += "zero byte";
        break;
      case Kind::Feed:
        out += "ESC d " + std::to_string(part.value) + " (print, feed lines)";
        break;
      case Kind::Cut:
        out += "GS V " + std::to_string(part.value) +
               (part.value % 48 == 0 ? " (full cut)" : " (partial cut)");
        break;
      case Kind::Raster: {
        const RasterImage& image = part.image;
        out += "GS v 0 mode " + std::to_string(image.mode) + ", " + std::to_string(image.Width()) +
               " x " + std::to_string(image.height) + " dots, " +
               std::to_string(image.BlackDots()) + " black";
        if (!imageBase.empty()) {
          std::string path = imageBase + "-" + std::to_string(++images) + ".png";
          WritePngFile(path, ImageFromBits(image.rows, image.widthBytes, image.height));
          out += " -> " + path;
        }
        break;
      }
      case Kind::SelfTest:
        out += "vendor self-test (1F 1B 1F 67 0A 00)";
        break;
      case Kind::Tspl:
        out += "TSPL " + part.text;
        break;
      case Kind::Unknown:
        out += "bytes " + ToHex(part.text);
        break;
    }
    out += '\n';
  }
  return out;
}

std::string ToPbm(const RasterImage& image) {
  return "P4\n" + std::to_string(image.Width()) + " " + std::to_string(image.height) + "\n" +
         image.rows;
}

std::string ToAsciiArt(const RasterImage& image, int maxColumns) {
  std::string out;
  int width = image.Width() < maxColumns ? image.Width() : maxColumns;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < width; ++x) out += image.Dot(x, y) ? '#' : '.';
    out += '\n';
  }
  return out;
}

}  // namespace testsupport
