// Text in the ANSI code page of the current thread, both directions: what the system, the
// spooler and the printers take and give as narrow text.
#pragma once

#include <string>
#include <string_view>

namespace classlib {

std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(const std::wstring& text);

}  // namespace classlib
