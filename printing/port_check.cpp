#include "printing/port_check.h"

namespace printing {

using common::PortKind;

PortCheckPlan PlanPortCheck(const PortChoice& choice) {
  PortCheckPlan plan;
  plan.selectedPort = choice.selectedPort;
  const bool receipt = IsReceiptModel(choice.modelIndex);
  if (receipt && choice.portKind == PortKind::Usb) {
    plan.action = PortCheckPlan::Action::UsbTickets;
    return plan;
  }
  // The receipt page names the typed address; the label page the chosen search result.
  if (receipt && choice.portKind == PortKind::Lan) plan.selectedPort = choice.addressText;
  auto transport = TransportRequestFor(choice.portKind, plan.selectedPort, choice.baudText);
  if (!transport) return plan;
  plan.action = PortCheckPlan::Action::Page;
  plan.transport = *transport;
  plan.pageText = receipt ? ReceiptPortText(choice.portKind, plan.selectedPort)
                          : LabelPortText(choice.modelIndex, choice.portKind, plan.selectedPort);
  plan.feedAndCut = receipt;
  return plan;
}

std::optional<SelfTestPlan> PlanSelfTest(const PortChoice& choice) {
  auto transport = TransportRequestFor(choice.portKind, choice.selectedPort, choice.baudText);
  if (!transport) return std::nullopt;
  return SelfTestPlan{*transport, SelfTestCommand(choice.modelIndex)};
}

}  // namespace printing
