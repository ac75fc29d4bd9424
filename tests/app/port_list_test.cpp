#include "app/port_list.h"

#include <gtest/gtest.h>

using app::MergePortList;
using app::PortCombo;
using Names = std::vector<std::wstring>;

TEST(MergePortList, NewEntryKeepsTheSelectedOneSelected) {
  // The user chose USB002; a third printer arrives that sorts before it and one after it.
  const PortCombo combo{{L"USB002", L"USB005"}, 0};
  for (const Names& list :
       {Names{L"USB005", L"USB002", L"USB001"}, Names{L"USB002", L"USB009", L"USB005"}}) {
    auto update = MergePortList(combo, list, L"NO USB");
    EXPECT_TRUE(update.rewrite);
    ASSERT_GE(update.selection, 0);
    EXPECT_EQ(update.entries[static_cast<size_t>(update.selection)], L"USB002");
    EXPECT_EQ(update.selectedPort, L"USB002");
    EXPECT_TRUE(std::is_sorted(update.entries.begin(), update.entries.end()));
  }
}

TEST(MergePortList, SelectionGoneOrAbsentTakesTheFirstSortedEntry) {
  auto gone = MergePortList(PortCombo{{L"COM3", L"COM4"}, 0}, {L"COM4", L"COM2"}, L"NO COM");
  EXPECT_EQ(gone.entries, (Names{L"COM2", L"COM4"}));
  EXPECT_EQ(gone.selection, 0);
  EXPECT_EQ(gone.selectedPort, L"COM2");

  auto placeholder = MergePortList(PortCombo{{L"NO USB"}, 0}, {L"USB001"}, L"NO USB");
  EXPECT_TRUE(placeholder.rewrite);
  EXPECT_EQ(placeholder.entries, (Names{L"USB001"}));
  EXPECT_EQ(placeholder.selectedPort, L"USB001");
}

TEST(MergePortList, SameEntriesLeaveTheComboAlone) {
  // The listing comes in another order; the combo holds the same ports, sorted.
  auto update = MergePortList(PortCombo{{L"COM1", L"COM10", L"COM9"}, 2},
                              {L"COM9", L"COM1", L"COM10"}, L"NO COM");
  EXPECT_FALSE(update.rewrite);
  EXPECT_EQ(update.selection, 2);
  EXPECT_EQ(update.selectedPort, L"COM9");

  auto none = MergePortList(PortCombo{{L"COM1"}, -1}, {L"COM1"}, L"NO COM");
  EXPECT_FALSE(none.rewrite);
  EXPECT_FALSE(none.selectedPort);
}

TEST(MergePortList, EmptyListingShowsThePlaceholder) {
  auto update = MergePortList(PortCombo{{L"USB001"}, 0}, {}, L"NO USB");
  EXPECT_TRUE(update.rewrite);
  EXPECT_EQ(update.entries, (Names{L"NO USB"}));
  EXPECT_EQ(update.selection, 0);
  EXPECT_EQ(update.selectedPort, L"NO USB");
  EXPECT_FALSE(update.bleDeviceName);
  // Already showing it: nothing to redo.
  EXPECT_FALSE(MergePortList(PortCombo{{L"NO USB"}, 0}, {}, L"NO USB").rewrite);

  Names names;
  auto ble = MergePortList(PortCombo{}, {}, L"NO BLE", &names);
  EXPECT_EQ(ble.bleDeviceName, L"NO BLE");
}

TEST(MergePortList, BluetoothNamesFollowThePortsPosition) {
  // COM10 sorts before COM9 in the combo; its name is still the one at its listing position.
  const Names ports = {L"COM9", L"COM10"};
  const Names names = {L"Printer A\r\n0011", L"Printer B\r\n0022"};
  auto first = MergePortList(PortCombo{}, ports, L"NO BLE", &names);
  EXPECT_EQ(first.entries, (Names{L"COM10", L"COM9"}));
  EXPECT_EQ(first.selectedPort, L"COM10");
  EXPECT_EQ(first.bleDeviceName, L"Printer B\r\n0022");
  // The next tick with the same listing keeps the same pairing.
  auto next = MergePortList(PortCombo{first.entries, first.selection}, ports, L"NO BLE", &names);
  EXPECT_FALSE(next.rewrite);
  EXPECT_EQ(next.bleDeviceName, L"Printer B\r\n0022");
  // Fewer names than ports: the port without a name leaves the shown name as it was.
  const Names one = {L"Printer A\r\n0011"};
  EXPECT_FALSE(MergePortList(PortCombo{first.entries, 0}, ports, L"NO BLE", &one).bleDeviceName);
  EXPECT_EQ(MergePortList(PortCombo{first.entries, 1}, ports, L"NO BLE", &one).bleDeviceName,
            L"Printer A\r\n0011");
}

TEST(PortEntryLess, ListBoxOrderOfPortNames) {
  Names names = {L"com2", L"COM10", L"192.168.1.9", L"COM1", L"192.168.1.10", L"USB001"};
  std::stable_sort(names.begin(), names.end(), app::PortEntryLess);
  EXPECT_EQ(names, (Names{L"192.168.1.10", L"192.168.1.9", L"COM1", L"COM10", L"com2", L"USB001"}));
}

TEST(PortKindControls, VisibilityByKind) {
  struct Case {
    common::PortKind kind;
    bool address, baud, bleName;
  };
  const Case cases[] = {
      {common::PortKind::Usb, false, false, false},
      {common::PortKind::Com, false, true, false},
      {common::PortKind::Lan, true, false, false},
      {common::PortKind::Ble, false, true, true},
  };
  for (const auto& c : cases) {
    auto shown = app::PortKindControlsFor(c.kind);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->showAddress, c.address);
    EXPECT_EQ(shown->showBaud, c.baud);
    EXPECT_EQ(shown->showBluetoothName, c.bleName);
  }
  EXPECT_FALSE(app::PortKindControlsFor(common::PortKind::Other));
}

TEST(PortListTexts, PlaceholdersAndDefaultNames) {
  EXPECT_EQ(app::PortListPlaceholder(common::PortKind::Usb), L"NO USB");
  EXPECT_EQ(app::PortListPlaceholder(common::PortKind::Com), L"NO COM");
  EXPECT_EQ(app::PortListPlaceholder(common::PortKind::Lan), L"Searching IP");
  EXPECT_EQ(app::PortListPlaceholder(common::PortKind::Ble), L"NO BLE");
  EXPECT_EQ(app::DefaultBluetoothNames(2), (Names{L"Printer001", L"Printer001"}));
}
