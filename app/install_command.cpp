#include "app/install_command.h"

namespace app {

using common::PortKind;

std::wstring InstallPlaceholder(PortKind kind) {
  switch (kind) {
    case PortKind::Usb:
      return L"NO USB";
    case PortKind::Com:
      return L"NO COM";
    case PortKind::Ble:
      return L"NO BLE";
    default:
      return L"";
  }
}

std::wstring WithPortColon(const std::wstring& entry) {
  return entry.find(L':') == std::wstring::npos ? entry + L":" : entry;
}

InstallPort ChooseInstallPort(PortKind kind, const std::optional<std::wstring>& selectedEntry,
                              const std::wstring& addressText) {
  if (kind == PortKind::Lan) return {addressText, L""};
  if (kind == PortKind::Other) return {std::nullopt, L""};
  std::wstring placeholder = InstallPlaceholder(kind);
  if (!selectedEntry || *selectedEntry == placeholder) return {std::nullopt, placeholder};
  if (kind == PortKind::Usb) return {*selectedEntry, L""};
  return {WithPortColon(*selectedEntry), L""};
}

const wchar_t* InstallMessageText(InstallMessage message, common::LangId language) {
  struct Texts {
    const wchar_t* chinese;
    const wchar_t* english;
    const wchar_t* japanese;
  };
  static const Texts kTexts[] = {
      {L"请选择一个打印机型号！", L"Please select a printer series !",
       L"プリンターの機種をお選びください!"},
      // The Japanese line break is two blanks and the letter n.
      {L"安装成功！\n是否要打印测试页？", L"Succeed !\nDo you want to printing test page?",
       L"インストールに成功しました！  nテストページを印刷しますか？"},
      {L"安装失败！", L"Install Failed ! ", L"インストールに失敗しました! "},
  };
  const Texts& texts = kTexts[static_cast<int>(message)];
  if (language == common::kChinese) return texts.chinese;
  if (language == common::kJapanese) return texts.japanese;
  return texts.english;
}

bool IsWindows8OrLaterName(const std::wstring& osName) {
  for (const wchar_t* name :
       {L"Windows 8", L"Windows 8.1", L"Windows 10", L"Windows 10.1", L"Windows 11"}) {
    if (osName == name) return true;
  }
  return false;
}

bool OpensFaqDocument(int modelIndex, bool faqEnabled) { return modelIndex < 6 && faqEnabled; }

std::wstring FaqDocumentPath(const std::wstring& executablePath) {
  size_t slash = executablePath.rfind(L'\\');
  std::wstring folder = slash == std::wstring::npos ? L"" : executablePath.substr(0, slash);
  return folder + L"\\Resource\\KQDR512 FAQ 1.01.pdf";
}

}  // namespace app
