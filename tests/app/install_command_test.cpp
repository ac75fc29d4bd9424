#include "app/install_command.h"

#include <gtest/gtest.h>

namespace app {
namespace {

using common::PortKind;

TEST(ChooseInstallPort, PortNameByKind) {
  struct Case {
    PortKind kind;
    std::optional<std::wstring> entry;
    const wchar_t* address;
    std::optional<std::wstring> portName;
    const wchar_t* stopMessage;
  };
  const Case cases[] = {
      {PortKind::Usb, L"USB001", L"", L"USB001", L""},
      {PortKind::Usb, L"NO USB", L"", std::nullopt, L"NO USB"},
      {PortKind::Usb, std::nullopt, L"", std::nullopt, L"NO USB"},
      {PortKind::Com, L"COM3", L"", L"COM3:", L""},
      {PortKind::Com, L"COM10", L"", L"COM10:", L""},
      {PortKind::Com, L"COM3:", L"", L"COM3:", L""},
      {PortKind::Com, L"NO COM", L"", std::nullopt, L"NO COM"},
      {PortKind::Com, std::nullopt, L"", std::nullopt, L"NO COM"},
      {PortKind::Ble, L"COM7", L"", L"COM7:", L""},
      {PortKind::Ble, L"NO BLE", L"", std::nullopt, L"NO BLE"},
      {PortKind::Ble, std::nullopt, L"", std::nullopt, L"NO BLE"},
      // Another kind's placeholder is an ordinary entry.
      {PortKind::Com, L"NO USB", L"", L"NO USB:", L""},
      // Lan takes the address control, whatever the list shows.
      {PortKind::Lan, L"Searching IP", L"192.168.1.100", L"192.168.1.100", L""},
      {PortKind::Lan, L"192.168.1.57", L"192.168.1.100", L"192.168.1.100", L""},
      {PortKind::Lan, std::nullopt, L"10.0.0.8", L"10.0.0.8", L""},
      {PortKind::Other, L"USB001", L"", std::nullopt, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    SCOPED_TRACE(c.entry.value_or(L"(none)"));
    InstallPort port = ChooseInstallPort(c.kind, c.entry, c.address);
    EXPECT_EQ(port.portName, c.portName);
    EXPECT_EQ(port.stopMessage, c.stopMessage);
  }
}

TEST(InstallMessageText, ThreeLanguagesAndEnglishForTheRest) {
  EXPECT_STREQ(InstallMessageText(InstallMessage::NoModel, common::kChinese),
               L"请选择一个打印机型号！");
  EXPECT_STREQ(InstallMessageText(InstallMessage::NoModel, common::kJapanese),
               L"プリンターの機種をお選びください!");
  EXPECT_STREQ(InstallMessageText(InstallMessage::OfferTestPage, common::kChinese),
               L"安装成功！\n是否要打印测试页？");
  EXPECT_STREQ(InstallMessageText(InstallMessage::OfferTestPage, common::kEnglish),
               L"Succeed !\nDo you want to printing test page?");
  EXPECT_STREQ(InstallMessageText(InstallMessage::OfferTestPage, common::kJapanese),
               L"インストールに成功しました！  nテストページを印刷しますか？");
  EXPECT_STREQ(InstallMessageText(InstallMessage::Failed, common::kChinese), L"安装失败！");
  EXPECT_STREQ(InstallMessageText(InstallMessage::Failed, common::kJapanese),
               L"インストールに失敗しました! ");
  for (common::LangId language : {common::kEnglish, static_cast<common::LangId>(0x0404)}) {
    SCOPED_TRACE(language);
    EXPECT_STREQ(InstallMessageText(InstallMessage::NoModel, language),
                 L"Please select a printer series !");
    EXPECT_STREQ(InstallMessageText(InstallMessage::Failed, language), L"Install Failed ! ");
  }
}

TEST(IsWindows8OrLaterName, ExactNamesOnly) {
  for (const wchar_t* name :
       {L"Windows 8", L"Windows 8.1", L"Windows 10", L"Windows 10.1", L"Windows 11"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(IsWindows8OrLaterName(name));
  }
  for (const wchar_t* name : {L"Windows 7", L"Windows XP", L"Windows Vista", L"windows 10",
                              L"Windows 10 ", L"Windows 11.1", L"Unknow", L""}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(IsWindows8OrLaterName(name));
  }
}

TEST(OpensFaqDocument, ReceiptModelsWhenEnabled) {
  EXPECT_TRUE(OpensFaqDocument(0, true));
  EXPECT_TRUE(OpensFaqDocument(5, true));
  EXPECT_FALSE(OpensFaqDocument(6, true));
  EXPECT_FALSE(OpensFaqDocument(8, true));
  EXPECT_FALSE(OpensFaqDocument(0, false));
}

TEST(FaqDocumentPath, BesideTheExecutable) {
  EXPECT_EQ(FaqDocumentPath(L"C:\\Drivers\\Setup\\ThermalPrinterSetup.exe"),
            L"C:\\Drivers\\Setup\\Resource\\KQDR512 FAQ 1.01.pdf");
  EXPECT_EQ(FaqDocumentPath(L"\\\\server\\share\\tool.exe"),
            L"\\\\server\\share\\Resource\\KQDR512 FAQ 1.01.pdf");
  EXPECT_EQ(FaqDocumentPath(L"tool.exe"), L"\\Resource\\KQDR512 FAQ 1.01.pdf");
}

}  // namespace
}  // namespace app
