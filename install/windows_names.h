// Names of the Windows versions and processor architectures that the Windows detection reports,
// and the mapping from the system's numbers to them.
//
// Every name is a constant narrow text with one fixed address: the dialog finds the detected
// version in the installer's windowsNames by pointer identity, so callers pass these pointers on
// unchanged.
#pragma once

namespace install {

constexpr int kWindowsNameCount = 10;

// 0 "Windows 2000", 1 "Windows XP", 2 "Windows 2003", 3 "Windows Vista", 4 "Windows 7",
// 5 "Windows 8", 6 "Windows 8.1", 7 "Windows 10", 8 "Windows 10.1", 9 "Windows 11".
extern const char* const kWindowsNames[kWindowsNameCount];

// A version outside the list.
extern const char kUnknownWindows[];  // "Unknow"

// Position in kWindowsNames for the version numbers that GetVersionExW reports, -1 for "Unknow".
// Major 10 with build 22000 or later is Windows 11.
int WindowsVersionIndex(unsigned major, unsigned minor, unsigned build);

// kWindowsNames[WindowsVersionIndex(...)], or kUnknownWindows.
const char* WindowsVersionName(unsigned major, unsigned minor, unsigned build);

// Name of a native processor architecture (SYSTEM_INFO::wProcessorArchitecture): 0 "x86",
// 6 "Intel Itanium-based", 9 "x64", 0xFFFF "Unknown architecture", anything else "Unknown".
const char* ArchitectureName(unsigned architecture);

}  // namespace install
