// Prints the decoded account of a captured printer stream and writes its raster images beside
// it, for a person to read a ticket. Not part of the build; compile it by hand:
//   g++ -std=c++17 -I tests tests/support/tools/decode_capture.cpp \
//       tests/support/escpos_decode.cpp tests/support/png.cpp -o /tmp/decode_capture
//   /tmp/decode_capture capture.bin [image-base]   (images: <image-base>-1.png, ...)
#include <fstream>
#include <iostream>
#include <sstream>

#include "support/escpos_decode.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: decode_capture CAPTURE [IMAGE-BASE]\n";
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 1;
  }
  std::stringstream bytes;
  bytes << file.rdbuf();
  std::cout << testsupport::DescribeCapture(bytes.str(), argc > 2 ? argv[2] : "");
  return 0;
}
