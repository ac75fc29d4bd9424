#include "app/languages.h"

#include "common/format.h"

namespace app {
namespace {

const std::vector<Caption> kChineseCaptions = {
    {1022, L"选择您的操作系统"},
    {1023, L"打印机接口"},
    {1055, L"票据打印机"},
    {1056, L"标签打印机"},
    {1009, L"安装USB虚拟串口驱动"},
    {1010, L"安装驱动类型"},
    {1018, L"是否设置成默认打印机"},
    {1019, L"开始安装"},
    {1020, L"退出"},
    {1027, L"检测端口"},
    {1047, L"打印自检页"},
    {1033, L"打印机接口:"},
    {1035, L"其它"},
    {1030, L"*说明：后缀字母“C”表示带切刀类型"},
};

const std::vector<Caption> kEnglishCaptions = {
    {1022, L"Select Windows OS"},
    {1023, L"Select Install Port"},
    {1055, L"Receipt printer"},
    {1056, L"Label printer"},
    {1009, L"Install USB Virtual Serial Port Driver"},
    {1010, L"Select POS-Printer Type"},
    {1018, L"Set Default Printer"},
    {1019, L"Install Now"},
    {1020, L"Cancel"},
    {1027, L"Check Port"},
    {1047, L"PrintSelftest"},
    {1033, L"Printer Interface :"},
    {1035, L"Other"},
    {1030, L"*Remarks: \"C\" means item with cutter"},
};

const std::vector<Caption> kJapaneseCaptions = {
    {1022, L"WindowsOSを選択します"},
    {1023, L"[ポートのインストール]を選択します"},
    {1055, L"レシートプリンター"},
    {1056, L"ラベルプリンター"},
    {1009, L"USB仮想シリアルポートドライバーをインストールする"},
    {1010, L"POSプリンタータイプを選択します"},
    {1018, L"デフォルトのプリンタを設定する"},
    {1019, L"今すぐインストール"},
    {1020, L"キャンセル"},
    {1027, L"ポートを確認"},
    {1047, L"情報を印刷する"},
    {1033, L"プリンタインターフェース："},
    {1035, L"その他"},
    {1030, L"*備考：「C」はカッター付きのアイテムを意味します"},
};

const wchar_t kChineseTestPage[] =
    L"                 \r\n\r\n\r\n\r\n\r\n        恭喜！      \r\n如果您可以读取这个 \r\n"
    L"信息，说明打印机驱 \r\n动已经安装成功了！  \r\n感谢您的使用！  \r\n\r\n打印机名称：\r\n"
    L"\r\n\r\n\r\n\r\n   ** 测试页结束 **\r\n";

const wchar_t kEnglishTestPage[] =
    L"               .  \r\n\r\n\r\n\r\n\r\nCongratulations，   \r\n\r\n"
    L"adding printer successfully \r\n\r\n \r\n\r\nPrinter Name:\r\n\r\n\r\n\r\n\r\n"
    L" ** Test page end **\r\n";

const wchar_t kJapaneseTestPage[] =
    L"               .  \r\n\r\n\r\n\r\n\r\n         おめでとう！  \r\n"
    L"あなたがこれを読むことができるなら\r\nプリンタドライバを説明するメッセージ\r\n"
    L"移動は正常にインストールされました！\r\nご利用いただきありがとうございます！\r\n\r\n"
    L"プリンター名：\r\n\r\n\r\n\r\n\r\n**テストページの終わり**\r\n";

}  // namespace

LangId StartupLanguage(LangId userLanguage) {
  if (userLanguage == common::kChinese || userLanguage == common::kJapanese) return userLanguage;
  return common::kEnglish;
}

int LanguageListIndex(LangId language) {
  if (language == common::kChinese) return 0;
  if (language == common::kJapanese) return 2;
  return 1;
}

LangId LanguageFromListIndex(int index) {
  if (index == 0) return common::kChinese;
  if (index == 2) return common::kJapanese;
  return common::kEnglish;
}

const std::vector<const wchar_t*>& LanguageListEntries() {
  static const std::vector<const wchar_t*> entries = {L"Chinese", L"English", L"Japanese"};
  return entries;
}

const wchar_t* WindowTitle(LangId language) {
  if (language == common::kChinese) return L"安装配置";
  if (language == common::kJapanese) return L"構成のインストール";
  return L"Install Configuration";
}

const std::vector<Caption>& Captions(LangId language) {
  if (language == common::kChinese) return kChineseCaptions;
  if (language == common::kJapanese) return kJapaneseCaptions;
  return kEnglishCaptions;
}

const wchar_t* TestPageText(LangId language) {
  if (language == common::kChinese) return kChineseTestPage;
  if (language == common::kJapanese) return kJapaneseTestPage;
  return kEnglishTestPage;
}

std::wstring RecommendText(LangId language, const std::wstring& osName,
                           const std::wstring& archName) {
  const wchar_t* format = L"You are using %s %s OS.\nPlease select %s to install.";
  if (language == common::kChinese) format = L"您正使用的是%s %s系统。\n推荐选择%s进行安装。";
  if (language == common::kJapanese)
    format = L"%s %sシステムを使用しています。\nインストールには%sを選択することをお勧めします。";
  return common::FormatText(format, {osName, archName, osName});
}

const wchar_t* LanAddressPrompt(LangId language) {
  return language == common::kChinese ? L"请输入IP" : L"Input IP";
}

std::wstring TitleDoubleClickText(LangId language, const std::wstring& osName,
                                  const std::wstring& archName) {
  const wchar_t* format = L"Thermal printer driver setup %s\nDetected system: %s %s";
  if (language == common::kChinese) format = L"热敏打印机驱动安装工具 %s\n检测到的系统：%s %s";
  if (language == common::kJapanese)
    format = L"サーマルプリンタードライバー設定ツール %s\n検出されたシステム：%s %s";
  return common::FormatText(format, {std::wstring(kToolVersion), osName, archName});
}

}  // namespace app
