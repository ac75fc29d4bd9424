#include "app/port_list.h"

#include <algorithm>

#include "app/install_command.h"

namespace app {
namespace {

using common::PortKind;

// Rank and case-folded value of one character in the combo's order.
std::pair<int, wchar_t> SortKey(wchar_t c) {
  if (c >= L'a' && c <= L'z') c = c - L'a' + L'A';
  int rank = (c >= L'0' && c <= L'9') ? 1 : (c >= L'A' && c <= L'Z') ? 2 : c < 0x80 ? 0 : 3;
  return {rank, c};
}

std::optional<size_t> PositionIn(const std::vector<std::wstring>& list, const std::wstring& text) {
  auto it = std::find(list.begin(), list.end(), text);
  if (it == list.end()) return std::nullopt;
  return static_cast<size_t>(it - list.begin());
}

// The device name paired with a selected port, by the port's position in the listing.
std::optional<std::wstring> PairedName(const std::vector<std::wstring>* names,
                                       const std::vector<std::wstring>& list,
                                       const std::wstring& port) {
  if (!names) return std::nullopt;
  auto position = PositionIn(list, port);
  if (!position || *position >= names->size()) return std::nullopt;
  return (*names)[*position];
}

bool ListingDiffers(const PortCombo& combo, const std::vector<std::wstring>& list) {
  if (combo.entries.size() != list.size()) return true;
  for (const auto& entry : combo.entries)
    if (!PositionIn(list, entry)) return true;
  return false;
}

const std::wstring* SelectedEntry(const PortCombo& combo) {
  if (combo.selection < 0 || static_cast<size_t>(combo.selection) >= combo.entries.size())
    return nullptr;
  return &combo.entries[static_cast<size_t>(combo.selection)];
}

}  // namespace

bool PortEntryLess(const std::wstring& a, const std::wstring& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](wchar_t x, wchar_t y) { return SortKey(x) < SortKey(y); });
}

PortListUpdate MergePortList(const PortCombo& combo, const std::vector<std::wstring>& list,
                             const std::wstring& placeholder,
                             const std::vector<std::wstring>* names) {
  PortListUpdate update;
  if (list.empty()) {
    update.entries = {placeholder};
    update.selection = 0;
    update.rewrite = combo.entries != update.entries || combo.selection != 0;
    update.selectedPort = placeholder;
    if (names) update.bleDeviceName = placeholder;
    return update;
  }
  const std::wstring* selected = SelectedEntry(combo);
  if (!ListingDiffers(combo, list)) {
    update.entries = combo.entries;
    update.selection = selected ? combo.selection : -1;
    if (selected) {
      update.selectedPort = *selected;
      update.bleDeviceName = PairedName(names, list, *selected);
    }
    return update;
  }
  update.rewrite = true;
  update.entries = list;
  std::stable_sort(update.entries.begin(), update.entries.end(), PortEntryLess);
  auto keep = selected ? PositionIn(update.entries, *selected) : std::nullopt;
  update.selection = keep ? static_cast<int>(*keep) : 0;
  update.selectedPort = update.entries[static_cast<size_t>(update.selection)];
  update.bleDeviceName = PairedName(names, list, *update.selectedPort);
  return update;
}

std::wstring PortListPlaceholder(PortKind kind) {
  return kind == PortKind::Lan ? L"Searching IP" : InstallPlaceholder(kind);
}

std::vector<std::wstring> DefaultBluetoothNames(size_t portCount) {
  return std::vector<std::wstring>(portCount, L"Printer001");
}

std::optional<PortKindControls> PortKindControlsFor(PortKind kind) {
  switch (kind) {
    case PortKind::Usb:
      return PortKindControls{false, false, false};
    case PortKind::Com:
      return PortKindControls{false, true, false};
    case PortKind::Lan:
      return PortKindControls{true, false, false};
    case PortKind::Ble:
      return PortKindControls{false, true, true};
    case PortKind::Other:
      break;
  }
  return std::nullopt;
}

}  // namespace app
