// printf-style formatting of wide and narrow texts, the same on every platform.
//
// The C runtimes disagree on what %s means in a wide format (msvcrt: a wide string, glibc: a
// narrow one), so texts are never built with swprintf. Supported: %s %d %u %x %X %c %%, with
// flags '-' and '0', a field width and a precision for %s.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace common {

using FormatArg = std::variant<long long, std::wstring>;

std::wstring FormatText(const std::wstring& format, const std::vector<FormatArg>& args);
std::string FormatBytes(const std::string& format, const std::vector<FormatArg>& args);

}  // namespace common
