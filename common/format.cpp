#include "common/format.h"

#include <algorithm>

namespace common {
namespace {

struct Spec {
  bool left = false;
  bool zero = false;
  size_t width = 0;
  long long precision = -1;
  wchar_t conv = 0;
};

std::wstring Digits(unsigned long long v, unsigned base, bool upper) {
  const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::wstring out;
  do {
    out.insert(out.begin(), static_cast<wchar_t>(set[v % base]));
    v /= base;
  } while (v != 0);
  return out;
}

std::wstring Convert(const Spec& spec, const FormatArg* arg) {
  const long long* number = arg ? std::get_if<long long>(arg) : nullptr;
  const std::wstring* text = arg ? std::get_if<std::wstring>(arg) : nullptr;
  std::wstring body;
  bool negative = false;
  switch (spec.conv) {
    case L's':
      body = text ? *text : std::wstring();
      if (spec.precision >= 0 && body.size() > static_cast<size_t>(spec.precision))
        body.resize(static_cast<size_t>(spec.precision));
      break;
    case L'c':
      if (number) body.assign(1, static_cast<wchar_t>(*number));
      break;
    case L'd': {
      long long v = number ? *number : 0;
      negative = v < 0;
      body = Digits(
          negative ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v),
          10, false);
      break;
    }
    case L'u':
      body =
          Digits(number ? static_cast<unsigned long long>(*number) & 0xFFFFFFFFULL : 0, 10, false);
      break;
    case L'x':
    case L'X':
      body = Digits(number ? static_cast<unsigned long long>(*number) & 0xFFFFFFFFULL : 0, 16,
                    spec.conv == L'X');
      break;
    default:
      break;
  }
  size_t len = body.size() + (negative ? 1 : 0);
  std::wstring pad = len < spec.width ? std::wstring(spec.width - len, L' ') : std::wstring();
  bool numeric = spec.conv != L's' && spec.conv != L'c';
  if (spec.left) return (negative ? L"-" : L"") + body + pad;
  if (spec.zero && numeric) {
    std::replace(pad.begin(), pad.end(), L' ', L'0');
    return (negative ? L"-" : L"") + pad + body;
  }
  return pad + (negative ? L"-" : L"") + body;
}

}  // namespace

std::wstring FormatText(const std::wstring& format, const std::vector<FormatArg>& args) {
  std::wstring out;
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != L'%') {
      out += format[i];
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == L'%') {
      out += L'%';
      ++i;
      continue;
    }
    Spec spec;
    size_t j = i + 1;
    for (; j < format.size() && (format[j] == L'-' || format[j] == L'0'); ++j)
      (format[j] == L'-' ? spec.left : spec.zero) = true;
    for (; j < format.size() && format[j] >= L'0' && format[j] <= L'9'; ++j)
      spec.width = spec.width * 10 + static_cast<size_t>(format[j] - L'0');
    if (j < format.size() && format[j] == L'.') {
      spec.precision = 0;
      for (++j; j < format.size() && format[j] >= L'0' && format[j] <= L'9'; ++j)
        spec.precision = spec.precision * 10 + (format[j] - L'0');
    }
    if (j >= format.size()) {  // a lone '%' at the end stays as it is
      out.append(format, i, std::wstring::npos);
      break;
    }
    spec.conv = format[j];
    const FormatArg* arg = next < args.size() ? &args[next] : nullptr;
    ++next;
    out += Convert(spec, arg);
    i = j;
  }
  return out;
}

std::string FormatBytes(const std::string& format, const std::vector<FormatArg>& args) {
  // Narrow formats carry ANSI bytes; each byte maps to one wide unit and back unchanged.
  std::wstring wide;
  for (unsigned char c : format) wide += static_cast<wchar_t>(c);
  std::vector<FormatArg> wideArgs;
  for (const auto& a : args) wideArgs.push_back(a);
  std::string out;
  for (wchar_t c : FormatText(wide, wideArgs)) out += static_cast<char>(c);
  return out;
}

}  // namespace common
