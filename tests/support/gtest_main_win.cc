// The entry point of the Windows test programs that ctest runs under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  // A fault must end the program with a report, not wait behind an error dialog; and output
  // must reach ctest's pipe even when the program dies half-way.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::setvbuf(stderr, nullptr, _IONBF, 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
