#include "printing/port_check_win.h"

#include "app/control_ids.h"
#include "app/install_command.h"
#include "classlib/message_box_win.h"
#include "common/format.h"
#include "discovery/usb_interfaces_win.h"
#include "discovery/usb_ports_win.h"
#include "printing/transport_win.h"

namespace printing {
namespace {

constexpr unsigned kCheckPortPauseMs = 2000;

bool PrintUsbTickets(const PortCommand& command) {
  SetTimer(command.dialog, app::kTimerReenableCheckPort, kCheckPortPauseMs, nullptr);
  EnableWindow(GetDlgItem(command.dialog, app::kButtonCheckPort), FALSE);
  OutputDebugStringW(command.osName.c_str());
  if (app::IsWindows8OrLaterName(command.osName)) {
    discovery::usbSkipLinkCheck = true;
    OutputDebugStringW(common::FormatText(L"%s,%d", {command.osName, 1LL}).c_str());
  }
  return discovery::ShowUsbPrinterPorts(discovery::kUsbPrintInterfaceClass, command.language);
}

}  // namespace

bool CheckPort(const PortCommand& command, std::wstring& selectedPort) {
  const PortCheckPlan plan = PlanPortCheck(command.choice);
  selectedPort = plan.selectedPort;
  bool sent = false;
  switch (plan.action) {
    case PortCheckPlan::Action::UsbTickets:
      sent = PrintUsbTickets(command);
      break;
    case PortCheckPlan::Action::Page:
      SelectTransport(plan.transport.portName, plan.transport.parameter);
      sent = SendText(command.dialog, plan.pageText);
      if (plan.feedAndCut) WriteRaw(kFeedAndPartialCut, sizeof kFeedAndPartialCut);
      break;
    case PortCheckPlan::Action::Nothing:
      break;
  }
  if (!sent) classlib::ShowMessage(command.dialog, CheckConnectionMessage(command.language));
  return sent;
}

void PrintSelfTest(const PortChoice& choice) {
  auto plan = PlanSelfTest(choice);
  if (!plan) return;
  SelectTransport(plan->transport.portName, plan->transport.parameter);
  WriteRaw(plan->command.data(), static_cast<int>(plan->command.size()));
}

}  // namespace printing
