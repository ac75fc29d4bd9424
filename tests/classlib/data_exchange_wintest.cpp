// Data exchange against real controls: the radio-group rule, check boxes and texts.
#include <gtest/gtest.h>
#include <windows.h>

#include "classlib/dialog_win.h"

namespace {

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    // In creation (= template) order: a group of radios with a static and a hidden radio inside
    // it, then a check box that starts the next group, then a radio of a group of its own.
    Add(10, L"BUTTON", BS_AUTORADIOBUTTON | WS_GROUP | WS_VISIBLE);
    Add(11, L"STATIC", WS_VISIBLE);
    Add(12, L"BUTTON", BS_AUTORADIOBUTTON);  // hidden: still counts
    Add(13, L"BUTTON", BS_AUTORADIOBUTTON | WS_VISIBLE);
    Add(20, L"BUTTON", BS_AUTOCHECKBOX | WS_GROUP | WS_VISIBLE);
    Add(30, L"BUTTON", BS_AUTORADIOBUTTON | WS_GROUP | WS_VISIBLE);
    Add(40, L"EDIT", WS_VISIBLE);
  }
  void TearDown() override { DestroyWindow(parent_); }

  void Add(int id, const wchar_t* kind, DWORD style) {
    HWND control =
        CreateWindowExW(0, kind, L"", WS_CHILD | style, 0, 0, 50, 10, parent_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    ASSERT_NE(control, nullptr);
  }
  bool Checked(int id) {
    return SendDlgItemMessageW(parent_, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  int ReadGroup(int firstId) {
    classlib::DataExchange dx(parent_, true);
    int value = 99;
    dx.RadioGroup(firstId, value);
    return value;
  }

  HWND parent_ = nullptr;
};

TEST_F(Controls, RadioGroupCountsOnlyRadiosUpToTheNextGroup) {
  EXPECT_EQ(ReadGroup(10), -1);  // none checked

  classlib::DataExchange write(parent_, false);
  int index = 2;
  write.RadioGroup(10, index);
  EXPECT_FALSE(Checked(10));
  EXPECT_FALSE(Checked(12));
  EXPECT_TRUE(Checked(13));  // index 2: the static is skipped, the hidden radio counts
  EXPECT_FALSE(Checked(20));
  EXPECT_FALSE(Checked(30));
  EXPECT_EQ(ReadGroup(10), 2);

  index = 1;
  write.RadioGroup(10, index);
  EXPECT_TRUE(Checked(12));
  EXPECT_FALSE(Checked(13));
  EXPECT_EQ(ReadGroup(10), 1);
  EXPECT_EQ(ReadGroup(30), -1);
}

TEST_F(Controls, EnumRadioGroupCheckBoxAndText) {
  enum class Kind { A, B, C };
  Kind kind = Kind::C;
  classlib::DataExchange write(parent_, false);
  write.RadioGroup(10, kind);
  int check = 1;
  write.Check(20, check);
  std::wstring text = L"Grüße 你好";
  write.Text(40, text);

  classlib::DataExchange read(parent_, true);
  Kind readKind = Kind::A;
  read.RadioGroup(10, readKind);
  EXPECT_EQ(readKind, Kind::C);
  int readCheck = 0;
  read.Check(20, readCheck);
  EXPECT_EQ(readCheck, 1);
  std::wstring readText;
  read.Text(40, readText);
  EXPECT_EQ(readText, text);
  read.Range(100, 0, 99);
  EXPECT_TRUE(read.failed());
}

}  // namespace
