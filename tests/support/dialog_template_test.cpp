#include "support/dialog_template.h"

#include <gtest/gtest.h>

#include "support/hex_bytes.h"

namespace testsupport {
namespace {

// RT_DIALOG data as x86_64-w64-mingw32-windres wrote it for:
//   7 DIALOGEX 1, 2, 120, 60  STYLE DS_SETFONT | WS_POPUP | WS_CAPTION  CAPTION "Ti"
//   FONT 9, "MS Shell Dlg", 0, 0, 0x1
//     CONTROL "OK", 1001, "Button", BS_AUTORADIOBUTTON | WS_GROUP, 3, 4, 50, 10
//     CONTROL "", 1002, "ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL | CBS_SORT, 5, 6, 60, 40
//     CONTROL "", 1003, "SysIPAddress32", WS_TABSTOP | NOT WS_VISIBLE, 7, 8, 70, 10
//     ICON 128, 1004, 9, 10, 20, 20
const char kExtended[] =
    "01 00 FF FF 00 00 00 00 00 00 00 00 40 00 C0 80 04 00 01 00 02 00 78 00 3C 00 00 00 00 00 "
    "54 00 69 00 00 00 09 00 00 00 00 01 4D 00 53 00 20 00 53 00 68 00 65 00 6C 00 6C 00 20 00 "
    "44 00 6C 00 67 00 00 00 00 00 00 00 00 00 00 00 09 00 02 50 03 00 04 00 32 00 0A 00 E9 03 "
    "00 00 42 00 55 00 54 00 54 00 4F 00 4E 00 00 00 4F 00 4B 00 00 00 00 00 00 00 00 00 00 00 "
    "00 00 00 00 03 01 20 50 05 00 06 00 3C 00 28 00 EA 03 00 00 43 00 4F 00 4D 00 42 00 4F 00 "
    "42 00 4F 00 58 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 40 07 00 08 00 "
    "46 00 0A 00 EB 03 00 00 53 00 59 00 53 00 49 00 50 00 41 00 44 00 44 00 52 00 45 00 53 00 "
    "53 00 33 00 32 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 03 00 00 50 09 00 0A 00 "
    "00 00 00 00 EC 03 00 00 FF FF 82 00 FF FF 80 00 00 00";

// 8 DIALOG 0, 0, 50, 20  STYLE WS_POPUP
//   CONTROL "Hi", 5, "Static", SS_LEFT, 1, 1, 10, 8
const char kPlain[] =
    "00 00 00 80 00 00 00 00 01 00 00 00 00 00 32 00 14 00 00 00 00 00 00 00 00 00 00 50 00 00 "
    "00 00 01 00 01 00 0A 00 08 00 05 00 53 00 54 00 41 00 54 00 49 00 43 00 00 00 48 00 69 00 "
    "00 00 00 00";

struct ControlCase {
  int id;
  const wchar_t* className;
  const wchar_t* text;
  std::uint32_t style;
  int x, y, cx, cy;
};

TEST(DialogTemplate, ExtendedTemplate) {
  DialogTemplate t;
  ASSERT_TRUE(ParseDialogTemplate(Hex(kExtended), t));
  EXPECT_TRUE(t.extended);
  EXPECT_EQ(t.style, 0x80C00040u);
  EXPECT_EQ(t.caption, L"Ti");
  EXPECT_EQ(t.pointSize, 9);
  EXPECT_EQ(t.font, L"MS Shell Dlg");
  EXPECT_EQ((std::vector<int>{t.x, t.y, t.cx, t.cy}), (std::vector<int>{1, 2, 120, 60}));
  const ControlCase expected[] = {
      {1001, L"Button", L"OK", 0x50020009u, 3, 4, 50, 10},
      {1002, L"ComboBox", L"", 0x50200103u, 5, 6, 60, 40},
      {1003, L"SYSIPADDRESS32", L"", 0x40010000u, 7, 8, 70, 10},  // windres upper-cases names
      {1004, L"Static", L"#128", 0x50000003u, 9, 10, 0, 0},
  };
  ASSERT_EQ(t.controls.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    const ControlCase& e = expected[i];
    const DialogControl& c = t.controls[i];
    SCOPED_TRACE(e.id);
    EXPECT_EQ(c.id, e.id);
    EXPECT_EQ(c.className, e.className);
    EXPECT_EQ(c.text, e.text);
    EXPECT_EQ(c.style, e.style);
    EXPECT_EQ((std::vector<int>{c.x, c.y, c.cx, c.cy}), (std::vector<int>{e.x, e.y, e.cx, e.cy}));
  }
  ASSERT_NE(t.Find(1003), nullptr);
  EXPECT_EQ(t.Find(1003)->x, 7);
  EXPECT_EQ(t.Find(999), nullptr);
}

TEST(DialogTemplate, PlainTemplate) {
  DialogTemplate t;
  ASSERT_TRUE(ParseDialogTemplate(Hex(kPlain), t));
  EXPECT_FALSE(t.extended);
  EXPECT_EQ(t.style, 0x80000000u);
  EXPECT_EQ(t.font, L"");
  ASSERT_EQ(t.controls.size(), 1u);
  EXPECT_EQ(t.controls[0].id, 5);
  EXPECT_EQ(t.controls[0].className, L"Static");
  EXPECT_EQ(t.controls[0].text, L"Hi");
  EXPECT_EQ(
      (std::vector<int>{t.controls[0].x, t.controls[0].y, t.controls[0].cx, t.controls[0].cy}),
      (std::vector<int>{1, 1, 10, 8}));
}

// A template cut anywhere is refused, never read past its end.
TEST(DialogTemplate, TruncatedDataIsRefused) {
  for (const char* hex : {kExtended, kPlain}) {
    const std::string whole = Hex(hex);
    for (size_t n = 0; n + 2 < whole.size(); ++n) {
      DialogTemplate t;
      EXPECT_FALSE(ParseDialogTemplate(whole.substr(0, n), t)) << n;
    }
  }
}

}  // namespace
}  // namespace testsupport
