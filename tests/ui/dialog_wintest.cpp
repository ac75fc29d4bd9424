// The setup dialog as a user meets it: languages, the detected Windows version, the controls of
// template 147, the initial choices, and the ways it closes.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/control_ids.h"
#include "app/languages.h"
#include "install/windows_names.h"
#include "support/ui_driver_win.h"

namespace {

using testsupport::Tool;
using testsupport::ToolOptions;

// The architecture name the tool should show: the test program runs in the same prefix.
std::wstring ExpectedArchitecture() {
  SYSTEM_INFO native = {};
  GetNativeSystemInfo(&native);
  std::string name = install::ArchitectureName(native.wProcessorArchitecture);
  return std::wstring(name.begin(), name.end());
}

void ExpectCaptions(const Tool& tool, common::LangId language) {
  EXPECT_EQ(tool.Caption(), app::WindowTitle(language));
  for (const app::Caption& caption : app::Captions(language))
    EXPECT_EQ(tool.Text(caption.controlId), caption.text) << "control " << caption.controlId;
  EXPECT_EQ(tool.Selection(app::kLanguageList), app::LanguageListIndex(language));
}

TEST(DialogLanguage, OpensInTheUsersInterfaceLanguage) {
  struct Case {
    const wchar_t* locale;
    common::LangId shown;
    const char* screenshot;
  };
  const Case cases[] = {
      {L"en_US", 0x0409, "dialog-en_US"},
      {L"zh_CN", 0x0804, "dialog-zh_CN"},
      {L"ja_JP", 0x0411, "dialog-ja_JP"},
      {L"zh_TW", 0x0409, nullptr},  // Traditional Chinese gets the English interface
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testsupport::Narrow(c.locale));
    Tool tool = Tool::Start(ToolOptions{c.locale, L"win10"});
    ExpectCaptions(tool, c.shown);
    EXPECT_EQ(tool.Entries(app::kLanguageList),
              (std::vector<std::wstring>{L"Chinese", L"English", L"Japanese"}));
    EXPECT_EQ(tool.Text(app::kTitleLine),
              app::RecommendText(c.shown, L"Windows 10", ExpectedArchitecture()));
    if (c.screenshot) {
      // After the first port-monitor tick, so that the port list shows what it will show.
      EXPECT_TRUE(tool.WaitForText(app::kPortList, L"NO USB"));
      std::cout << "screenshot: " << tool.Screenshot(c.screenshot) << "\n";
    }
    tool.Close();
    EXPECT_TRUE(tool.WaitForExit());
  }
}

TEST(DialogLanguage, SwitchingTheListSwitchesEveryTextAtOnce) {
  Tool tool = Tool::Start(ToolOptions{L"en_US", L"win7"});
  const std::wstring arch = ExpectedArchitecture();
  for (int index : {0, 2, 1}) {
    common::LangId language = app::LanguageFromListIndex(index);
    SCOPED_TRACE(language);
    tool.Select(app::kLanguageList, index);
    ExpectCaptions(tool, language);
    EXPECT_EQ(tool.Text(app::kTitleLine), app::RecommendText(language, L"Windows 7", arch));
  }
  tool.Close();
  EXPECT_TRUE(tool.WaitForExit());
}

TEST(DialogWindows, TitleLineNamesTheSystemAndItsRadioIsSelected) {
  struct Case {
    const wchar_t* windows;
    const wchar_t* name;
    int radio;
  };
  const Case cases[] = {
      {L"winxp", L"Windows XP", app::kRadioXp},
      {L"win2k", L"Windows 2000", app::kRadio2003},
      {L"win2003", L"Windows 2003", app::kRadio2003},
      {L"vista", L"Windows Vista", app::kRadioVista},
      {L"win7", L"Windows 7", app::kRadioWindows7},
      {L"win8", L"Windows 8", app::kRadioWindows8},
      {L"win81", L"Windows 8.1", app::kRadioWindows8},
      {L"win10", L"Windows 10", app::kRadioWindows10},
      {L"win11", L"Windows 11", app::kRadioWindows11},
  };
  const int osRadios[] = {app::kRadioWindows10, app::kRadioWindows8, app::kRadioVista,
                          app::kRadioXp,        app::kRadio2003,     app::kRadioWindows7,
                          app::kRadioWindows11};
  const std::wstring arch = ExpectedArchitecture();
  for (const Case& c : cases) {
    SCOPED_TRACE(testsupport::Narrow(c.windows));
    Tool tool = Tool::Start(ToolOptions{L"en_US", c.windows});
    EXPECT_EQ(tool.Text(app::kTitleLine), app::RecommendText(0x0409, c.name, arch));
    for (int radio : osRadios) EXPECT_EQ(tool.Checked(radio), radio == c.radio) << radio;
    tool.Close();
    EXPECT_TRUE(tool.WaitForExit());
  }
}

TEST(DialogTemplate, ShowsExactlyTheControlsOfTheReceiptLayout) {
  Tool tool = Tool::Start(ToolOptions{L"en_US", L"win10"});
  const std::vector<int> all = {1002, 1007, 1005, 1003, 1004, 1006, 1042, 1014, 1013, 1012, 1011,
                                1017, 1016, 1043, 1045, 1058, 1015, 1010, 1009, 1034, 1048, 1049,
                                1057, 1035, 1024, 1008, 1022, 1023, 1018, 1019, 1020, 1027, 1030,
                                1033, 1039, 1025, 1046, 1050, 1056, 1055, 1053, 1059, 1062, 1047};
  const std::vector<int> shown = {1002, 1007, 1005, 1003, 1004, 1006, 1042, 1014, 1013, 1012, 1011,
                                  1017, 1016, 1034, 1048, 1049, 1057, 1024, 1008, 1022, 1018, 1019,
                                  1027, 1030, 1033, 1025, 1046, 1055, 1059, 1062, 1047};
  EXPECT_EQ(tool.ControlIds(), all);
  EXPECT_EQ(tool.VisibleControlIds(), shown);

  // Group starts of the radio groups, and the sorted port list.
  for (int id : {1002, 1014, 1009, 1034, 1008, 1018}) EXPECT_TRUE(tool.Style(id) & WS_GROUP) << id;
  for (int id : {1007, 1013, 1010, 1048, 1035}) EXPECT_FALSE(tool.Style(id) & WS_GROUP) << id;
  for (int id : {1046, 1053, 1059}) {
    EXPECT_EQ(tool.ClassName(id), L"ComboBox");
    EXPECT_EQ((tool.Style(id) & CBS_SORT) != 0, id == 1059) << id;
  }
  EXPECT_EQ(tool.ClassName(1050), L"SysIPAddress32");
  tool.Close();
  EXPECT_TRUE(tool.WaitForExit());
}

TEST(DialogTemplate, StartsWithTheFirstModelUsbAndTheDefaults) {
  Tool tool = Tool::Start(ToolOptions{L"en_US", L"win10"});
  EXPECT_TRUE(tool.Checked(1014));  // TPR-80C
  for (int id : {1013, 1012, 1011, 1017, 1016}) EXPECT_FALSE(tool.Checked(id)) << id;
  EXPECT_FALSE(tool.Checked(app::kCheckSetDefault));
  EXPECT_TRUE(tool.Checked(app::kRadioUsb));
  EXPECT_EQ(tool.Entries(app::kBaudList),
            (std::vector<std::wstring>{L"9600", L"19200", L"38400", L"115200"}));
  EXPECT_EQ(tool.SelectedEntry(app::kBaudList), L"19200");
  EXPECT_FALSE(tool.Visible(app::kBaudList));
  EXPECT_FALSE(tool.Visible(app::kIpAddress));
  EXPECT_EQ(tool.Text(app::kIpAddress), L"192.168.1.100");
  EXPECT_TRUE(tool.Visible(app::kBleName));
  EXPECT_EQ(tool.Text(app::kBleName), L"");
  EXPECT_EQ(tool.Text(app::kPortLabel), L"USB00X");
  tool.Close();
  EXPECT_TRUE(tool.WaitForExit());
}

TEST(DialogHandlers, DriverTypeRadiosDisableAndEnableTheInstallRange) {
  Tool tool = Tool::Start(ToolOptions{L"en_US", L"win10"});
  tool.SendClicked(app::kRadioDriverTypeSerial);
  for (int id = 1011; id <= 1018; ++id) EXPECT_FALSE(tool.Enabled(id)) << id;
  EXPECT_TRUE(tool.Enabled(app::kRadioWindows10));  // outside the range
  tool.SendClicked(app::kRadioDriverTypePrinter);
  for (int id = 1011; id <= 1018; ++id) EXPECT_TRUE(tool.Enabled(id)) << id;
  tool.Close();
  EXPECT_TRUE(tool.WaitForExit());
}

TEST(DialogHandlers, EveryFifthDoubleClickOnTheTitleShowsTheAboutBox) {
  Tool tool = Tool::Start(ToolOptions{L"en_US", L"win10"});
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 4; ++i) tool.DoubleClick(app::kTitleLine);
    EXPECT_FALSE(tool.HasMessageBox());
    tool.DoubleClick(app::kTitleLine);
    auto box = tool.WaitForMessageBox();
    EXPECT_EQ(box.Caption(), L"ThermalPrinterSetup");
    EXPECT_EQ(box.ShownIcon(), testsupport::MessageBoxWindow::Icon::Exclamation);
    EXPECT_EQ(box.ButtonIds(), std::vector<int>{IDOK});
    EXPECT_NE(box.Text().find(L"Windows 10"), std::wstring::npos)
        << testsupport::Narrow(box.Text());
    box.Answer(IDOK);
  }
  tool.Close();
  EXPECT_TRUE(tool.WaitForExit());
}

TEST(DialogClosing, CloseBoxEscapeAndEnterEndTheProcess) {
  {
    Tool tool = Tool::Start(ToolOptions{L"en_US", L"win10"});
    tool.Close();
    EXPECT_TRUE(tool.WaitForExit());
    EXPECT_EQ(tool.ExitCode(), 0u);
  }
  {
    Tool tool = Tool::Start(ToolOptions{L"zh_CN", L"win10"});
    tool.PressEscape();
    EXPECT_TRUE(tool.WaitForExit());
  }
  {
    Tool tool = Tool::Start(ToolOptions{L"ja_JP", L"win10"});
    tool.PressEnter();
    EXPECT_TRUE(tool.WaitForExit());
  }
}

}  // namespace
