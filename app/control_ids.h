// Control ids of the setup dialog's template 147, and the dialog's timers and private message.
#pragma once

namespace app {

constexpr int kDialogTemplate = 147;
constexpr int kIconResource = 128;
constexpr int kLogoBitmapResource = 141;

// Windows-version radios (group starts at 1002).
constexpr int kRadioWindows10 = 1002;
constexpr int kRadioWindows8 = 1007;
constexpr int kRadioVista = 1005;
constexpr int kRadioXp = 1003;
constexpr int kRadio2003 = 1004;
constexpr int kRadioWindows7 = 1006;
constexpr int kRadioWindows11 = 1042;

// Model radios (group starts at 1014), in model-table order.
constexpr int kRadioModelFirst = 1014;
constexpr int kModelRadios[] = {1014, 1013, 1012, 1011, 1017, 1016, 1043, 1045, 1058, 1015, 1010};
constexpr int kRadioDriverTypePrinter = 1010;
constexpr int kRadioDriverTypeSerial = 1009;

// Port-kind radios (group starts at 1034), in PortKind order.
constexpr int kRadioUsb = 1034;
constexpr int kRadioCom = 1048;
constexpr int kRadioLan = 1049;
constexpr int kRadioBle = 1057;
constexpr int kRadioOther = 1035;

constexpr int kModelGroupBox = 1024;
constexpr int kTitleLine = 1008;
constexpr int kOsGroupBox = 1022;
constexpr int kDriverTypeGroupBox = 1023;
constexpr int kCheckSetDefault = 1018;
constexpr int kButtonInstall = 1019;
constexpr int kButtonExit = 1020;
constexpr int kButtonCheckPort = 1027;
constexpr int kRemark = 1030;
constexpr int kPortKindLabel = 1033;
constexpr int kPortLabel = 1039;
constexpr int kPortCheckGroupBox = 1025;
constexpr int kLanguageList = 1046;
constexpr int kIpAddress = 1050;
constexpr int kLabelModelsLabel = 1056;
constexpr int kReceiptModelsLabel = 1055;
constexpr int kBaudList = 1053;
constexpr int kPortList = 1059;
constexpr int kBleName = 1062;
constexpr int kButtonSelfTest = 1047;

// The install controls' model radios and check box: ids 1011 to 1018.
constexpr int kInstallRangeFirst = 1011;
constexpr int kInstallRangeLast = 1018;

// Timers of the dialog window.
constexpr unsigned kTimerReenableControls = 1;
constexpr unsigned kTimerReenableCheckPort = 3;
constexpr unsigned kTimerPortMonitor = 6;
constexpr unsigned kPortMonitorPeriodMs = 500;

// Posted by the LAN search worker after each discovery pass (WM_USER + 100).
constexpr unsigned kSearchResultsMessage = 0x0400 + 100;

}  // namespace app
