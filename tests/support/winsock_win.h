// Windows Sockets for the tests of a suite, started in version 1.1 as the application starts
// them: derive the suite's fixture from WinsockTest.
#pragma once

// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

namespace testsupport {

class WinsockTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
  }
  static void TearDownTestSuite() { WSACleanup(); }
};

}  // namespace testsupport
