// Byte strings written and shown as hex ("1B 64 07"), so that expectations read like a capture.
#pragma once

#include <cstdio>
#include <string>

namespace testsupport {

// "1B 64 07" -> the three bytes; white space between byte pairs is optional.
inline std::string Hex(const std::string& text) {
  std::string bytes;
  int high = -1;
  for (char c : text) {
    int v = (c >= '0' && c <= '9')   ? c - '0'
            : (c >= 'a' && c <= 'f') ? c - 'a' + 10
            : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                     : -1;
    if (v < 0) continue;
    if (high < 0) {
      high = v;
    } else {
      bytes += static_cast<char>(high * 16 + v);
      high = -1;
    }
  }
  return bytes;
}

// The bytes as upper-case hex pairs separated by blanks.
inline std::string ToHex(const std::string& bytes) {
  std::string text;
  char pair[4];
  for (unsigned char c : bytes) {
    std::snprintf(pair, sizeof pair, "%02X", c);
    if (!text.empty()) text += ' ';
    text += pair;
  }
  return text;
}

// ASCII text as bytes, for building expected captures.
inline std::string Ascii(const std::wstring& text) {
  std::string bytes;
  for (wchar_t c : text) bytes += static_cast<char>(c);
  return bytes;
}

}  // namespace testsupport
