#include "printing/port_check.h"

#include <gtest/gtest.h>

#include "support/hex_bytes.h"

using common::PortKind;
using printing::PlanPortCheck;
using printing::PortCheckPlan;
using printing::PortChoice;

namespace {
PortChoice Choice(int model, PortKind kind) {
  return PortChoice{model, kind, L"COM5", L"9600", L"10.0.0.9"};
}
}  // namespace

TEST(PlanPortCheck, ReceiptPrinterByKind) {
  EXPECT_EQ(PlanPortCheck(Choice(0, PortKind::Usb)).action, PortCheckPlan::Action::UsbTickets);

  auto com = PlanPortCheck(Choice(2, PortKind::Com));
  EXPECT_EQ(com.action, PortCheckPlan::Action::Page);
  EXPECT_EQ(com.transport.portName, L"COM5");
  EXPECT_EQ(com.transport.parameter, L"9600");
  EXPECT_EQ(com.pageText, L"COM PORT:COM5");
  EXPECT_TRUE(com.feedAndCut);
  EXPECT_EQ(com.selectedPort, L"COM5");

  auto ble = PlanPortCheck(Choice(-1, PortKind::Ble));  // no model chosen counts as receipt
  EXPECT_EQ(ble.pageText, L"BLUETOOTH PORT:COM5");
  EXPECT_EQ(ble.transport.portName, L"COM5");

  // The typed address wins over the port list on the network.
  auto lan = PlanPortCheck(Choice(5, PortKind::Lan));
  EXPECT_EQ(lan.transport.portName, L"LAN");
  EXPECT_EQ(lan.transport.parameter, L"10.0.0.9");
  EXPECT_EQ(lan.pageText, L"LAN IP ADDRESS:10.0.0.9");
  EXPECT_EQ(lan.selectedPort, L"10.0.0.9");

  auto other = PlanPortCheck(Choice(0, PortKind::Other));
  EXPECT_EQ(other.action, PortCheckPlan::Action::Nothing);
}

TEST(PlanPortCheck, LabelPrinterUsesTheListEntryAndNoCut) {
  auto usb = PlanPortCheck(PortChoice{7, PortKind::Usb, L"USB002", L"", L""});
  EXPECT_EQ(usb.action, PortCheckPlan::Action::Page);
  EXPECT_EQ(usb.transport.portName, L"USB");
  EXPECT_EQ(usb.pageText, printing::LabelPortText(7, PortKind::Usb, L"USB002"));
  EXPECT_FALSE(usb.feedAndCut);

  auto lan = PlanPortCheck(PortChoice{6, PortKind::Lan, L"Searching IP", L"", L"10.0.0.9"});
  EXPECT_EQ(lan.transport.parameter, L"Searching IP");
  EXPECT_EQ(lan.selectedPort, L"Searching IP");
  EXPECT_NE(lan.pageText.find(L"\"Searching IP\""), std::wstring::npos);

  EXPECT_EQ(PlanPortCheck(Choice(8, PortKind::Other)).action, PortCheckPlan::Action::Nothing);
}

TEST(PlanSelfTest, CommandByModelTransportByKind) {
  auto receipt = printing::PlanSelfTest(Choice(0, PortKind::Usb));
  ASSERT_TRUE(receipt);
  EXPECT_EQ(receipt->transport.portName, L"USB");
  EXPECT_EQ(testsupport::ToHex(receipt->command), "1F 1B 1F 67 0A 00");

  auto label = printing::PlanSelfTest(Choice(6, PortKind::Lan));
  ASSERT_TRUE(label);
  EXPECT_EQ(label->transport.parameter, L"COM5");  // the port list entry, not the typed address
  EXPECT_EQ(label->command, std::string("SELFTEST\n\0", 10));

  EXPECT_FALSE(printing::PlanSelfTest(Choice(0, PortKind::Other)));
}
