#include "install/messages.h"

namespace install {

bool UsesChineseTexts(common::LangId windowsLanguage) {
  return windowsLanguage == common::kChinese;
}

std::wstring StagingFailureMessage(common::LangId windowsLanguage, int osChoice) {
  bool chinese = UsesChineseTexts(windowsLanguage);
  std::wstring text = chinese ? L"安装过程发生错误！" : L"Malfunction !";
  if (osChoice >= 3)
    text += chinese ? L"\n请尝试<以管理员身份运行>安装文件。"
                    : L"\nPls try using <Run as administrator>open this App";
  return text;
}

std::wstring DriverRegistrationFailureMessage(common::LangId windowsLanguage) {
  return UsesChineseTexts(windowsLanguage) ? L"安装打印机驱动过程发生错误！"
                                           : L"Install printer driver failed !";
}

std::wstring QueueCreationFailureMessage() { return L"添加打印机失败！"; }

}  // namespace install
