#include "discovery/reachability.h"

#include <gtest/gtest.h>

#include "support/hex_bytes.h"

namespace discovery {
namespace {

TEST(EchoPayload, TextAndNineZeros) {
  EXPECT_EQ(testsupport::ToHex(EchoPayload()),
            "46 69 6C 6C 20 66 6F 72 20 74 65 73 74 20 49 43 4D 50 20 64 61 74 61 "
            "00 00 00 00 00 00 00 00 00");
}

TEST(EchoReplyLine, AddressSizeTimeAndTtl) {
  EXPECT_EQ(EchoReplyLine(L"192.168.1.57", 32, 3, 64),
            L"Reply from 192.168.1.57: bytes=32 time=3 TTL=64\n");
}

}  // namespace
}  // namespace discovery
