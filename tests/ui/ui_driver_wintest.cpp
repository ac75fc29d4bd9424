// The UI driver against the sample dialog (tests/support/sample_dialog): reading controls, the
// user actions, message boxes, closing, and the failures a test relies on being reported.
#include <gtest/gtest.h>
#include <windows.h>

#include "support/sample_dialog/sample_dialog_ids.h"
#include "support/ui_driver_win.h"

namespace testsupport {
namespace {

Tool StartSample(ToolOptions options = {}) {
  options.exe = SampleDialogExeUnix();
  return Tool::Start(options);
}

std::wstring ReadFileBytesHead(const std::string& unixPath, size_t n) {
  HANDLE f = CreateFileW(UnixPathToWindows(unixPath).c_str(), GENERIC_READ, FILE_SHARE_READ,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return L"";
  std::string bytes(n, '\0');
  DWORD got = 0;
  ReadFile(f, &bytes[0], static_cast<DWORD>(n), &got, nullptr);
  CloseHandle(f);
  std::wstring head;
  for (DWORD i = 0; i < got; ++i)
    head += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
  return head;
}

TEST(UiDriver, ReadsEveryKindOfControl) {
  Tool dlg = StartSample({.language = L"en_US"});
  EXPECT_EQ(dlg.Caption(), L"Sample dialog");
  EXPECT_EQ(dlg.Text(IDC_TITLE), L"Title: English text");
  EXPECT_EQ(dlg.Text(IDC_EDIT), L"edit text");
  EXPECT_EQ(dlg.ClassName(IDC_COMBO), L"ComboBox");

  EXPECT_TRUE(dlg.Visible(IDC_RADIO_A));
  EXPECT_FALSE(dlg.Visible(IDC_RADIO_HIDDEN));
  EXPECT_TRUE(dlg.Enabled(IDC_ASK));
  EXPECT_FALSE(dlg.Enabled(IDC_DISABLED));
  EXPECT_TRUE(dlg.Checked(IDC_RADIO_A));
  EXPECT_EQ(dlg.CheckState(IDC_CHECK), BST_UNCHECKED);
  EXPECT_NE(dlg.Style(IDC_TITLE) & SS_NOTIFY, 0);

  EXPECT_EQ(dlg.Entries(IDC_COMBO),
            (std::vector<std::wstring>{L"Chinese", L"English", L"Japanese"}));
  EXPECT_EQ(dlg.Selection(IDC_COMBO), 1);
  EXPECT_EQ(dlg.SelectedEntry(IDC_COMBO), L"English");

  std::vector<int> ids = dlg.ControlIds();
  ASSERT_EQ(ids.size(), 18u);
  EXPECT_EQ(ids.front(), IDC_TITLE);
  EXPECT_EQ(ids.back(), IDC_EDIT);
  std::vector<int> shown = dlg.VisibleControlIds();
  EXPECT_EQ(std::count(shown.begin(), shown.end(), IDC_RADIO_HIDDEN), 0);
  EXPECT_EQ(shown.size(), 17u);

  RECT r = dlg.Rect(IDC_TITLE);
  EXPECT_GT(r.right - r.left, 100);
  EXPECT_FALSE(dlg.Has(999));
  EXPECT_THROW(dlg.Text(999), UiError);
}

// What the running dialog does not show any more: positions in dialog units, and WS_VSCROLL,
// which a combo box hands on to its list.
TEST(UiDriver, ReadsTheTemplateOutOfTheExecutable) {
  DialogTemplate t = LoadDialogTemplate(SampleDialogExeUnix(), SAMPLE_DIALOG);
  EXPECT_EQ(t.font, L"MS Shell Dlg");
  EXPECT_EQ(t.pointSize, 9);
  ASSERT_EQ(t.controls.size(), 18u);
  const DialogControl* combo = t.Find(IDC_COMBO);
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->className, L"ComboBox");
  EXPECT_NE(combo->style & WS_VSCROLL, 0u);
  EXPECT_EQ(combo->style & 0xF, static_cast<unsigned>(CBS_DROPDOWNLIST));
  EXPECT_EQ(t.Find(IDC_RADIO_HIDDEN)->style & WS_VISIBLE, 0u);
  const DialogControl* title = t.Find(IDC_TITLE);
  EXPECT_EQ((std::vector<int>{title->x, title->y, title->cx, title->cy}),
            (std::vector<int>{7, 7, 246, 10}));
  EXPECT_THROW(LoadDialogTemplate(SampleDialogExeUnix(), 999), UiError);
}

TEST(UiDriver, ClicksAndSelectionsReachTheDialog) {
  Tool dlg = StartSample();
  dlg.Click(IDC_RADIO_B);
  EXPECT_TRUE(dlg.Checked(IDC_RADIO_B));
  EXPECT_FALSE(dlg.Checked(IDC_RADIO_A));
  EXPECT_EQ(dlg.Text(IDC_RADIO_SHOWN), L"radio: 111");

  dlg.Click(IDC_CHECK);
  EXPECT_TRUE(dlg.Checked(IDC_CHECK));
  dlg.Click(IDC_CHECK);
  EXPECT_FALSE(dlg.Checked(IDC_CHECK));

  dlg.Select(IDC_COMBO, L"Japanese");
  EXPECT_EQ(dlg.Selection(IDC_COMBO), 2);
  EXPECT_EQ(dlg.Text(IDC_COMBO_SHOWN), L"selected: Japanese");
  dlg.Select(IDC_COMBO, 0);
  EXPECT_EQ(dlg.Text(IDC_COMBO_SHOWN), L"selected: Chinese");
  dlg.OpenDropDown(IDC_COMBO);
  EXPECT_EQ(dlg.Text(IDC_DROPDOWNS), L"drop-downs: 1");

  dlg.DoubleClick(IDC_TITLE);
  dlg.DoubleClick(IDC_TITLE);
  EXPECT_EQ(dlg.Text(IDC_CLICKS), L"double-clicks: 2");
  EXPECT_TRUE(dlg.WaitForText(IDC_CLICKS, L"double-clicks: 2", 100));
  EXPECT_FALSE(dlg.WaitForText(IDC_CLICKS, L"double-clicks: 3", 100));
}

// What a user cannot do fails with UiError; the raw notification still reaches the dialog.
TEST(UiDriver, UnreachableControlsAreRefused) {
  Tool dlg = StartSample();
  EXPECT_THROW(dlg.Click(IDC_RADIO_HIDDEN), UiError);
  EXPECT_THROW(dlg.Click(IDC_DISABLED), UiError);
  EXPECT_THROW(dlg.Select(IDC_COMBO, L"Klingon"), UiError);
  EXPECT_THROW(dlg.Select(IDC_COMBO, 3), UiError);
  EXPECT_THROW(dlg.Click(12345), UiError);

  dlg.SendClicked(IDC_RADIO_HIDDEN);
  EXPECT_EQ(dlg.Text(IDC_RADIO_SHOWN), L"radio: 112");
  EXPECT_FALSE(dlg.Checked(IDC_RADIO_HIDDEN));

  // A static without SS_NOTIFY does not tell its dialog about double-clicks.
  dlg.DoubleClick(IDC_PLAIN);
  EXPECT_EQ(dlg.Text(IDC_CLICKS), L"double-clicks: 0");
}

TEST(UiDriver, ReadsAndAnswersMessageBoxes) {
  Tool dlg = StartSample();
  EXPECT_FALSE(dlg.HasMessageBox());
  EXPECT_THROW(dlg.WaitForMessageBox(200), UiError);

  dlg.Click(IDC_ASK);  // returns while the question is shown
  MessageBoxWindow box = dlg.WaitForMessageBox();
  EXPECT_EQ(box.Caption(), L"sample_dialog");
  EXPECT_EQ(box.Text(), L"Proceed?");
  EXPECT_EQ(box.ButtonIds(), (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(box.ShownIcon(), MessageBoxWindow::Icon::Question);
  EXPECT_FALSE(dlg.Enabled(IDC_ASK) && IsWindowEnabled(dlg.Handle()));
  EXPECT_THROW(box.Answer(IDOK), UiError);
  box.Answer(IDNO);
  EXPECT_FALSE(dlg.HasMessageBox());
  EXPECT_TRUE(dlg.WaitForText(IDC_ANSWER, L"answer: no"));

  // Two boxes in a row: the second is found once the first is answered.
  dlg.Click(IDC_TELL);
  MessageBoxWindow first = dlg.WaitForMessageBox();
  EXPECT_EQ(first.Text(), L"First message");
  EXPECT_EQ(first.ShownIcon(), MessageBoxWindow::Icon::Exclamation);
  ASSERT_EQ(first.Buttons().size(), 1u);
  EXPECT_EQ(first.Buttons()[0].id, IDOK);
  EXPECT_EQ(first.Buttons()[0].text, L"OK");
  first.Answer(IDOK);
  MessageBoxWindow second = dlg.WaitForMessageBox();
  EXPECT_EQ(second.Text(), L"第二条消息");
  std::string shot = second.Screenshot("driver-message-box");
  second.Answer(IDOK);
  EXPECT_TRUE(dlg.WaitForText(IDC_TOLD, L"told"));
  EXPECT_EQ(ReadFileBytesHead(shot, 4), L"\x89PNG");
}

struct Ending {
  const char* name;
  void (*act)(Tool&);
  DWORD exitCode;
};
const Ending kEndings[] = {
    {"close box", [](Tool& t) { t.Close(); }, IDCANCEL},
    {"Escape", [](Tool& t) { t.PressEscape(); }, IDCANCEL},
    {"Enter", [](Tool& t) { t.PressEnter(); }, IDOK},
};

TEST(UiDriver, CloseEscapeAndEnterEndTheDialog) {
  for (const Ending& e : kEndings) {
    SCOPED_TRACE(e.name);
    Tool dlg = StartSample();
    e.act(dlg);
    EXPECT_TRUE(dlg.WaitForExit());
    EXPECT_EQ(dlg.ExitCode(), e.exitCode);
    EXPECT_FALSE(dlg.Running());
  }
}

// A test that ends with the tool still open (here: inside a message box) leaves no process.
TEST(UiDriver, EndingTheTestEndsTheProcess) {
  DWORD pid = 0;
  {
    Tool dlg = StartSample();
    pid = dlg.ProcessId();
    dlg.Click(IDC_ASK);
    dlg.WaitForMessageBox();
  }
  HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (h) {
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
    CloseHandle(h);
  }
}

TEST(UiDriver, MissingProgramIsReported) {
  try {
    Tool::Start({.exe = BinaryDirUnix() + "/no-such-program.exe", .timeoutMs = 3000});
    FAIL() << "Start succeeded";
  } catch (const UiError& e) {
    EXPECT_NE(std::string(e.what()).find("no-such-program.exe"), std::string::npos) << e.what();
  }
}

TEST(UiDriver, ScreenshotIsAPngOfTheWindow) {
  Tool dlg = StartSample({.language = L"zh_CN"});
  std::string path = dlg.Screenshot("driver-sample-zh_CN");
  EXPECT_EQ(path, ScreenshotPathUnix("driver-sample-zh_CN"));
  EXPECT_EQ(ReadFileBytesHead(path, 8), L"\x89PNG\r\n\x1A\n");
  // The width in the header is the window's.
  std::wstring head = ReadFileBytesHead(path, 24);
  ASSERT_EQ(head.size(), 24u);
  RECT r = dlg.ScreenRect();
  EXPECT_EQ((head[18] << 8) | head[19], r.right - r.left);
}

}  // namespace
}  // namespace testsupport
