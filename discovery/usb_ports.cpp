#include "discovery/usb_ports.h"

#include "common/format.h"

namespace discovery {
namespace {

constexpr const wchar_t* kListingVendorIds[] = {
    L"vid_067b", L"vid_0416", L"vid_1cbe", L"vid_0483",
    L"vid_0471", L"vid_28e9", L"vid_1FC9", L"vid_04b8",
};

wchar_t LowerAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; }

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

}  // namespace

bool HasKnownVendorId(const std::wstring& devicePath) {
  if (devicePath.size() < 16) return false;
  const std::wstring part = devicePath.substr(8, 8);
  for (auto id : kListingVendorIds)
    if (EqualIgnoringCase(part, id)) return true;
  return false;
}

std::wstring UsbPortName(long long portNumber) {
  return common::FormatText(L"USB%03d", {portNumber});
}

std::wstring DeviceClassKeyPath(const std::wstring& devicePath, const std::wstring& subkeyName) {
  std::wstring path = devicePath;
  for (auto& c : path)
    if (c == L'\\') c = L'#';
  return L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\"
         L"{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\" +
         path + L"\\#\\" + subkeyName;
}

}  // namespace discovery
