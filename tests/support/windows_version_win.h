// The Windows version that Wine reports to a program started after the call.
//
// Wine reads the version when a process starts: from HKCU\Software\Wine\AppDefaults\<exe>,
// value Version, else from the prefix's HKLM\Software\Microsoft\Windows NT\CurrentVersion. The
// named versions use the first way, for the one executable only. Wine 8 has no "win11": it is
// Windows 10 with build 22000, which Wine takes only from the HKLM values (a Version value makes
// it use its own build number), so for "win11" the per-program value is removed and the prefix's
// values become 10.0 build 22000 until the override ends.
//
// What the program then sees with GetVersionExW (with a manifest that declares Windows 8.1 and
// 10 as supported; without one, "win81" and later read 6.2.9200, as on real Windows):
//   win2k 5.0.2195  winxp 5.1.2600  win2003 5.2.3790  vista 6.0.6002  win7 6.1.7601
//   win8 6.2.9200   win81 6.3.9600  win10 10.0.18362  win11 10.0.22000
// Note: Wine 8's "win7" sets the product type to server (wProductType 3).
#pragma once

#include <string>

namespace testsupport {

// Restores the previous registry values when it ends. Move-only.
class WindowsVersionOverride {
 public:
  WindowsVersionOverride() = default;
  WindowsVersionOverride(WindowsVersionOverride&& other) noexcept;
  WindowsVersionOverride& operator=(WindowsVersionOverride&& other) noexcept;
  ~WindowsVersionOverride();

  bool ok() const { return ok_; }  // false for an unknown name or a registry failure
  void Restore();

 private:
  friend WindowsVersionOverride SetWindowsVersion(const std::wstring&, const std::wstring&);
  struct Saved;
  bool ok_ = false;
  Saved* saved_ = nullptr;
};

// `version`: one of win2k, winxp, win2003, vista, win7, win8, win81, win10, win11; an empty
// name changes nothing (the prefix's version, Windows 10 in the bed). `exeName` is the file
// name of the program to start, e.g. L"ThermalPrinterSetup.exe".
[[nodiscard]] WindowsVersionOverride SetWindowsVersion(const std::wstring& version,
                                                       const std::wstring& exeName);

}  // namespace testsupport
