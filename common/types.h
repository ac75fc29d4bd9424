// Small value types shared by the subsystems.
#pragma once

namespace common {

// A Windows language identifier (LANGID).
using LangId = unsigned short;

// The interface languages, held as their Windows language identifiers.
constexpr LangId kChinese = 0x0804;
constexpr LangId kEnglish = 0x0409;
constexpr LangId kJapanese = 0x0411;

// The connection kind of the dialog's port-kind radios (value = index in the radio group).
enum class PortKind { Usb = 0, Com = 1, Lan = 2, Ble = 3, Other = 4 };

}  // namespace common
