#include "install/messages.h"

#include <gtest/gtest.h>

using namespace install;

TEST(StagingFailureMessage, ByWindowsLanguageAndOsChoice) {
  const std::wstring zhShort = L"安装过程发生错误！";
  const std::wstring zhLong = zhShort + L"\n请尝试<以管理员身份运行>安装文件。";
  const std::wstring enShort = L"Malfunction !";
  const std::wstring enLong = enShort + L"\nPls try using <Run as administrator>open this App";
  for (int os = 0; os <= 6; ++os) {
    SCOPED_TRACE(os);
    bool longText = os >= 3;
    EXPECT_EQ(StagingFailureMessage(0x0804, os), longText ? zhLong : zhShort);
    EXPECT_EQ(StagingFailureMessage(0x0409, os), longText ? enLong : enShort);
    EXPECT_EQ(StagingFailureMessage(0x0411, os), longText ? enLong : enShort);
    EXPECT_EQ(StagingFailureMessage(0x0404, os), longText ? enLong : enShort);
  }
  EXPECT_EQ(StagingFailureMessage(0x0409, -1), enShort);
}

TEST(RegistrationFailureMessages, DriverByLanguageQueueAlwaysChinese) {
  EXPECT_EQ(DriverRegistrationFailureMessage(0x0804), L"安装打印机驱动过程发生错误！");
  EXPECT_EQ(DriverRegistrationFailureMessage(0x0409), L"Install printer driver failed !");
  EXPECT_EQ(DriverRegistrationFailureMessage(0x0C04), L"Install printer driver failed !");
  EXPECT_EQ(QueueCreationFailureMessage(), L"添加打印机失败！");
}
