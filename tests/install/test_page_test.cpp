#include "install/test_page.h"

#include <gtest/gtest.h>

using namespace install;
using Kind = PageElement::Kind;

TEST(TestPageTimeStamp, TwoBlanksUnpaddedYearTwoDigitFields) {
  EXPECT_EQ(TestPageTimeStamp({2025, 3, 7, 9, 5, 3}), L"  2025-03-07 09:05:03");
  EXPECT_EQ(TestPageTimeStamp({2025, 12, 31, 23, 59, 59}), L"  2025-12-31 23:59:59");
  EXPECT_EQ(TestPageTimeStamp({999, 1, 1, 0, 0, 0}), L"  999-01-01 00:00:00");
}

TEST(TestPageLayout, TextThenPictureOverItThenQueueNameThenTime) {
  auto page = TestPageLayout(L"body\r\ntext", L"TPR-80C (copy 1)", 308, 87, {2025, 3, 7, 9, 5, 3});
  ASSERT_EQ(page.size(), 4u);

  EXPECT_EQ(page[0].kind, Kind::TextBlock);
  EXPECT_EQ((std::vector<int>{page[0].left, page[0].top, page[0].right, page[0].bottom}),
            (std::vector<int>{10, 10, 400, 500}));
  EXPECT_EQ(page[0].text, L"body\r\ntext");
  EXPECT_EQ(page[0].drawTextFlags, 0x100u);

  EXPECT_EQ(page[1].kind, Kind::Picture);
  EXPECT_EQ((std::vector<int>{page[1].left, page[1].top, page[1].right, page[1].bottom}),
            (std::vector<int>{30, 20, 338, 107}));

  EXPECT_EQ(page[2].kind, Kind::TextLine);
  EXPECT_EQ(page[2].left, 10);
  EXPECT_EQ(page[2].top, 430);
  EXPECT_EQ(page[2].text, L"TPR-80C (copy 1)");

  EXPECT_EQ(page[3].kind, Kind::TextLine);
  EXPECT_EQ(page[3].left, -20);
  EXPECT_EQ(page[3].top, 500);
  EXPECT_EQ(page[3].text, L"  2025-03-07 09:05:03");
}
