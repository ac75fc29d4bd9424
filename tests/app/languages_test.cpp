#include "app/languages.h"

#include <gtest/gtest.h>

#include "app/os_selection.h"

namespace {

TEST(StartupLanguage, OnlyExactChineseAndJapaneseKeepTheirLanguage) {
  struct Case {
    common::LangId user, expected;
    int listIndex;
  };
  const Case cases[] = {
      {0x0804, 0x0804, 0}, {0x0411, 0x0411, 2}, {0x0404, 0x0409, 1},
      {0x0C04, 0x0409, 1}, {0x0409, 0x0409, 1}, {0x0000, 0x0409, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.user);
    EXPECT_EQ(app::StartupLanguage(c.user), c.expected);
    EXPECT_EQ(app::LanguageListIndex(app::StartupLanguage(c.user)), c.listIndex);
  }
}

TEST(LanguageList, EntriesAndSelectionBackToLanguage) {
  const auto& entries = app::LanguageListEntries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_STREQ(entries[0], L"Chinese");
  EXPECT_STREQ(entries[1], L"English");
  EXPECT_STREQ(entries[2], L"Japanese");
  EXPECT_EQ(app::LanguageFromListIndex(0), 0x0804);
  EXPECT_EQ(app::LanguageFromListIndex(1), 0x0409);
  EXPECT_EQ(app::LanguageFromListIndex(2), 0x0411);
  EXPECT_EQ(app::LanguageFromListIndex(-1), 0x0409);  // no selection
}

TEST(RecommendText, EachLanguageFillsVersionArchitectureVersion) {
  EXPECT_EQ(app::RecommendText(0x0409, L"Windows 10", L"x64"),
            L"You are using Windows 10 x64 OS.\nPlease select Windows 10 to install.");
  EXPECT_EQ(app::RecommendText(0x0804, L"Windows 7", L"x86"),
            L"您正使用的是Windows 7 x86系统。\n推荐选择Windows 7进行安装。");
  EXPECT_EQ(app::RecommendText(0x0411, L"Windows 8.1", L"x64"),
            L"Windows 8.1 x64システムを使用しています。\n"
            L"インストールにはWindows 8.1を選択することをお勧めします。");
  // A failed version query leaves both names empty; the sentence keeps its words.
  EXPECT_EQ(app::RecommendText(0x0409, L"", L""),
            L"You are using   OS.\nPlease select  to install.");
}

TEST(TestPageText, ChineseJapaneseOrEnglish) {
  EXPECT_EQ(std::wstring(app::TestPageText(0x0804)).substr(0, 19),
            std::wstring(17, L' ') + L"\r\n");
  EXPECT_EQ(std::wstring(app::TestPageText(0x0409)).substr(0, 20),
            std::wstring(15, L' ') + L".  \r\n");
  EXPECT_NE(std::wstring(app::TestPageText(0x0409)).find(L"Congratulations\xFF0C   \r\n"),
            std::wstring::npos);
  EXPECT_NE(std::wstring(app::TestPageText(0x0411)).find(L"**テストページの終わり**\r\n"),
            std::wstring::npos);
  EXPECT_EQ(app::TestPageText(0x0404), app::TestPageText(0x0409));
  EXPECT_EQ(app::TestPageText(0), app::TestPageText(0x0409));
}

TEST(Captions, EveryLanguageCoversTheSameControls) {
  const auto& zh = app::Captions(0x0804);
  const auto& en = app::Captions(0x0409);
  const auto& ja = app::Captions(0x0411);
  ASSERT_EQ(zh.size(), 14u);
  ASSERT_EQ(en.size(), zh.size());
  ASSERT_EQ(ja.size(), zh.size());
  for (size_t i = 0; i < zh.size(); ++i) {
    EXPECT_EQ(en[i].controlId, zh[i].controlId);
    EXPECT_EQ(ja[i].controlId, zh[i].controlId);
  }
  EXPECT_STREQ(en.back().text, L"*Remarks: \"C\" means item with cutter");
  EXPECT_STREQ(app::WindowTitle(0x0411), L"構成のインストール");
  EXPECT_STREQ(app::WindowTitle(0x0404), L"Install Configuration");
}

TEST(LanAddressPrompt, ChineseOrEnglish) {
  EXPECT_STREQ(app::LanAddressPrompt(0x0804), L"请输入IP");
  EXPECT_STREQ(app::LanAddressPrompt(0x0411), L"Input IP");
  EXPECT_STREQ(app::LanAddressPrompt(0x0409), L"Input IP");
}

TEST(PreselectedOsChoice, DetectedVersionToRadio) {
  // windowsNames order: 2000, XP, 2003, Vista, 7, 8, 8.1, 10, 10.1, 11.
  const int expected[] = {4, 3, 4, 2, 5, 1, 1, 0, 0, 6};
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(app::PreselectedOsChoice(i, 0), expected[i]);
  }
  EXPECT_EQ(app::PreselectedOsChoice(-1, 0), 0);  // "Unknow" keeps the choice
  EXPECT_EQ(app::PreselectedOsChoice(-1, 3), 3);
  EXPECT_EQ(app::PreselectedOsChoice(10, 2), 2);
}

}  // namespace
