#include "discovery/usb_ports.h"

#include <gtest/gtest.h>

TEST(HasKnownVendorId, EightCharactersAtPositionEightIgnoringCase) {
  struct Case {
    const wchar_t* path;
    bool known;
  };
  const Case cases[] = {
      {L"\\\\?\\usb#vid_0483&pid_5720#0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}", true},
      {L"\\\\?\\usb#vid_1fc9&pid_2016#0001", true},  // listed as "vid_1FC9"
      {L"\\\\?\\USB#VID_1FC9&PID_2016#0001", true},
      {L"\\\\?\\USB#VID_067B&PID_2305#0001", true},
      {L"\\\\?\\usb#vid_1234&pid_5678#0001", false},
      // The transport knows vid_2d37; the listing does not.
      {L"\\\\?\\usb#vid_2d37&pid_0001#0001", false},
      {L"\\\\?\\usb#vid_04b8", true},  // exactly 16 characters
      {L"\\\\?\\usb#vid_04b", false},
      {L"\\\\?\\usb#xvid_04b8&pid_0202", false},  // shifted out of the window
      {L"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(discovery::HasKnownVendorId(c.path), c.known);
  }
}

TEST(UsbPortName, AtLeastThreeDigits) {
  EXPECT_EQ(discovery::UsbPortName(1), L"USB001");
  EXPECT_EQ(discovery::UsbPortName(12), L"USB012");
  EXPECT_EQ(discovery::UsbPortName(123), L"USB123");
  EXPECT_EQ(discovery::UsbPortName(1000), L"USB1000");
}

TEST(DeviceClassKeyPath, BackslashesOfThePathBecomeNumberSigns) {
  EXPECT_EQ(discovery::DeviceClassKeyPath(
                L"\\\\?\\usb#vid_0483&pid_5720#0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}",
                L"Device Parameters"),
            L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\"
            L"{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\"
            L"##?#usb#vid_0483&pid_5720#0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\#\\"
            L"Device Parameters");
}
