// The port list (combo 1059): how a fresh listing is merged into it without losing the user's
// choice, and which kind-specific controls each connection kind shows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/types.h"

namespace app {

// The combo's entries in display order and its selected index (-1 for none).
struct PortCombo {
  std::vector<std::wstring> entries;
  int selection = -1;
};

// What the dialog does with the combo and its fields after a listing.
struct PortListUpdate {
  // Empty the combo, add `entries` and select the entry whose text is `selectedPort`.
  bool rewrite = false;
  // The combo's entries afterwards, in the sorted combo's display order, and the selected index.
  std::vector<std::wstring> entries;
  int selection = -1;
  // New values of the dialog's fields; none keeps the field as it is.
  std::optional<std::wstring> selectedPort;
  std::optional<std::wstring> bleDeviceName;
};

// Merges a fresh listing into the combo. The combo is rewritten when its entries are not the
// listing's (different count, or an entry the listing lacks); the selected text stays selected
// when it is still listed, else the first entry in display order is taken. An empty listing
// shows the placeholder alone. `names` (Bluetooth only) are the device names paired by position
// with `list`; a name beyond the end of `names` leaves bleDeviceName as it was.
PortListUpdate MergePortList(const PortCombo& combo, const std::vector<std::wstring>& list,
                             const std::wstring& placeholder,
                             const std::vector<std::wstring>* names = nullptr);

// The order of the sorted combo for port names: letters without regard to case, and
// punctuation before digits before letters, as the list box's locale sort gives for them.
bool PortEntryLess(const std::wstring& a, const std::wstring& b);

// The entry shown alone when the kind's listing is empty ("NO USB", "NO COM", "Searching IP",
// "NO BLE"); empty for Other.
std::wstring PortListPlaceholder(common::PortKind kind);

// Bluetooth ports without device names are shown as "Printer001", one name per port.
std::vector<std::wstring> DefaultBluetoothNames(size_t portCount);

// The kind-specific controls after a click on a port-kind radio: IP address control 1050, baud
// list 1053 (with "19200" selected when shown), Bluetooth name 1062. None for Other, which
// changes nothing.
struct PortKindControls {
  bool showAddress;
  bool showBaud;
  bool showBluetoothName;
};
std::optional<PortKindControls> PortKindControlsFor(common::PortKind kind);
constexpr int kDefaultBaudIndex = 1;  // "19200"

}  // namespace app
