#include "install/ports.h"

#include <gtest/gtest.h>

using namespace install;
using Type = RegistryValue::Type;

TEST(SerialPortValue, BaudNoParityEightDataOneStop) {
  EXPECT_EQ(SerialPortValue(L"115200"), L"115200,n,8,1");
  EXPECT_EQ(SerialPortValue(L"9600"), L"9600,n,8,1");
  EXPECT_EQ(SerialPortValue(L""), L",n,8,1");
}

namespace {

struct Expected {
  const wchar_t* name;
  Type type;
  const wchar_t* text;
  unsigned long number;
};

void ExpectValues(const std::vector<RegistryValue>& got, const std::vector<Expected>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(want[i].name);
    EXPECT_EQ(got[i].name, want[i].name);
    EXPECT_EQ(got[i].type, want[i].type);
    if (want[i].type == Type::String)
      EXPECT_EQ(got[i].text, want[i].text);
    else
      EXPECT_EQ(got[i].number, want[i].number);
  }
}

std::vector<Expected> Port(std::vector<Expected> head, std::vector<Expected> tail) {
  const std::vector<Expected> fixed = {
      {L"HWAddress", Type::String, L"", 0},
      {L"IPAddress", Type::String, L"", 0},
      {L"PortMonMibPortIndex", Type::Dword, L"", 0},
      {L"PortNumber", Type::Dword, L"", 9100},
      {L"Protocol", Type::Dword, L"", 1},
      {L"SNMP Community", Type::String, L"harbor", 0},
      {L"SNMP Enabled", Type::Dword, L"", 0},
      {L"SNMP Index", Type::Dword, L"", 1},
  };
  head.insert(head.end(), fixed.begin(), fixed.end());
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

}  // namespace

TEST(TcpIpPortValues, RawPort9100WithVersionByMajor) {
  const Expected host = {L"HostName", Type::String, L"192.168.1.100", 0};
  ExpectValues(TcpIpPortValues(L"192.168.1.100", 5u),
               Port({host}, {{L"Version", Type::Dword, L"", 1}}));
  ExpectValues(TcpIpPortValues(L"192.168.1.100", 6u),
               Port({host}, {{L"Version", Type::Dword, L"", 2}}));
  ExpectValues(TcpIpPortValues(L"192.168.1.100", 10u),
               Port({host}, {{L"Version", Type::Dword, L"", 2}}));
  ExpectValues(TcpIpPortValues(L"192.168.1.100", std::nullopt), Port({host}, {}));
  ExpectValues(TcpIpPortValues(L"", 6u), Port({}, {{L"Version", Type::Dword, L"", 2}}));
}

TEST(TcpIpPortKeyName, AddressAtMost259Characters) {
  EXPECT_EQ(TcpIpPortKeyName(L"10.0.0.7"), L"10.0.0.7");
  EXPECT_EQ(TcpIpPortKeyName(std::wstring(300, L'9')), std::wstring(259, L'9'));
}
