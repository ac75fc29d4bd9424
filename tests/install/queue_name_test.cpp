#include "install/queue_name.h"

#include <gtest/gtest.h>

using install::ChooseQueueName;

TEST(ChooseQueueName, FirstFreeNameInTheCopySequence) {
  struct Case {
    std::vector<std::wstring> installed;
    common::LangId language;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {{}, 0x0409, L"TPR-80C"},
      {{L"Microsoft XPS Document Writer", L"TPR-80"}, 0x0409, L"TPR-80C"},
      {{L"TPR-80C"}, 0x0409, L"TPR-80C (copy 1)"},
      {{L"TPR-80C", L"TPR-80C (copy 1)"}, 0x0409, L"TPR-80C (copy 2)"},
      // Listed in the other order the restart after each match still finds copy 2.
      {{L"TPR-80C (copy 1)", L"TPR-80C"}, 0x0409, L"TPR-80C (copy 2)"},
      {{L"TPR-80C", L"TPR-80C (copy 2)"}, 0x0409, L"TPR-80C (copy 1)"},
      // Copy 2 is passed over once copy 1 was taken: the number only grows.
      {{L"TPR-80C (copy 2)", L"TPR-80C", L"TPR-80C (copy 1)"}, 0x0409, L"TPR-80C (copy 3)"},
      {{L"tpr-80c", L"TPR-80C "}, 0x0409, L"TPR-80C"},
      {{L"TPR-80C"}, 0x0411, L"TPR-80C (copy 1)"},
      {{L"TPR-80C"}, 0x0804, L"TPR-80C (副本 1)"},
      {{L"TPR-80C", L"TPR-80C (副本 1)", L"TPR-80C (copy 2)"}, 0x0804, L"TPR-80C (副本 2)"},
      // Only the Chinese (PRC) interface uses the Chinese suffix.
      {{L"TPR-80C"}, 0x0404, L"TPR-80C (copy 1)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(ChooseQueueName(L"TPR-80C", c.installed, c.language), c.expected);
  }
}

TEST(ChooseQueueName, LabelModelNamesKeepTheirParentheses) {
  EXPECT_EQ(ChooseQueueName(L"KTL-300L (3inch)", {L"KTL-300L (3inch)"}, 0x0409),
            L"KTL-300L (3inch) (copy 1)");
}

TEST(ChooseQueueName, DebugLineAfterEveryComparison) {
  std::vector<std::wstring> lines;
  EXPECT_EQ(ChooseQueueName(L"TPR-58", {L"Fax", L"TPR-58"}, 0x0409, &lines), L"TPR-58 (copy 1)");
  EXPECT_EQ(lines, (std::vector<std::wstring>{
                       L"name=Fax,i=0,n=1.temStr=TPR-58,userLanguage=1033\r\n",
                       L"name=TPR-58,i=-1,n=2.temStr=TPR-58 (copy 1),userLanguage=1033\r\n",
                       L"name=Fax,i=0,n=2.temStr=TPR-58 (copy 1),userLanguage=1033\r\n",
                       L"name=TPR-58,i=1,n=2.temStr=TPR-58 (copy 1),userLanguage=1033\r\n",
                   }));
}

TEST(ChooseQueueName, ManyTakenCopiesEndTheScan) {
  std::vector<std::wstring> installed = {L"TPR-76"};
  for (int n = 200; n >= 1; --n) installed.push_back(L"TPR-76 (copy " + std::to_wstring(n) + L")");
  EXPECT_EQ(ChooseQueueName(L"TPR-76", installed, 0x0409), L"TPR-76 (copy 201)");
}
