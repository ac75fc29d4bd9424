// The simulated network printers of scripts/lan-bed.sh, seen from a Windows test program that
// runs inside the bed: commands to the simulator and what it recorded. See
// tests/support/lan_printer_sim.py for the commands and records.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

class LanBed {
 public:
  // True inside the bed (LAN_BED_DIR is set); tests that need the printers skip otherwise.
  static bool Active();
  // Sends one command line and waits (bounded) for its result; "" when it worked, else the
  // simulator's error or a time-out text.
  static std::string Command(const std::string& line);
  // Lines of the records, without their line ends; events without their time stamps.
  static std::vector<std::string> Events();
  static std::vector<std::string> Saves();
  // The last reply a printer sent, as bytes; empty when it sent none.
  static std::string LastReply(const std::string& address);
  // Bytes a printer received on its raw printing port.
  static std::string RawPortBytes(const std::string& address);
};

}  // namespace testsupport
