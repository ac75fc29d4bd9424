// Host (Unix) commands for Windows test programs that run under Wine.
//
// How it works: Wine's CreateProcessW starts a Unix executable when it is given its Z:\ path (it
// forks and execs it, the Windows environment block becoming its Unix environment), but returns
// no process handle and no id. So every command runs through /bin/sh with a small wrapper in a
// fresh folder of its own under %TEMP%: the wrapper records the command's process id, its
// output (standard output and error together) and its exit status in files that this side
// reads. Waits poll those files against a deadline, and Stop() ends the command's whole process
// group with kill (the command runs in a session of its own). The command inherits the test
// program's environment, so WINEPREFIX, DISPLAY and WINE_LOADER of the bed are set for it.
//
// Typical uses: a Python script that simulates a printer behind a pty or FIFO linked into
// $WINEPREFIX/dosdevices; starting a Wine program with another Unix locale (see ui_driver_win.h);
// reading what a host-side helper wrote.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace testsupport {

// The build's folders as Unix paths (from the build's compile definitions).
std::string SourceDirUnix();
std::string BinaryDirUnix();

// Path conversion through Wine (kernel32's wine_get_dos_file_name / wine_get_unix_file_name);
// without them Z:\ stands for /. Unix paths are UTF-8.
std::wstring UnixPathToWindows(const std::string& unixPath);
std::string WindowsPathToUnix(const std::wstring& windowsPath);

// UTF-8 to UTF-16, and a whole file written (replaced) with the given bytes.
std::wstring WideFromUtf8(const std::string& text);
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);

// A text quoted for /bin/sh: 'it'\''s'.
std::string ShellQuote(const std::string& text);

// True when running under Wine.
bool IsWine();

struct HostResult {
  bool finished = false;  // false: the time-out ended it (or it could not be started)
  int exitCode = -1;      // the shell's status: 128 + signal for a killed command
  std::string output;     // standard output and error, in the order written
};

// A running host command. Move-only; the destructor stops the command if it still runs.
class HostProcess {
 public:
  HostProcess();
  HostProcess(HostProcess&&) noexcept;
  HostProcess& operator=(HostProcess&&) noexcept;
  ~HostProcess();

  bool Started() const;  // false when the wrapper could not be launched
  long Pid() const;      // the command's Unix process id (also its process group), 0 if unknown
  bool Running() const;
  // Waits until the command ends; true when it did within the time.
  bool Wait(DWORD timeoutMs = 10000);
  // Waits until the output contains `text` (true), the command ends or the time runs out.
  bool WaitForOutput(const std::string& text, DWORD timeoutMs = 10000);
  std::string Output() const;  // what the command wrote so far
  int ExitCode() const;        // -1 while it runs
  // SIGTERM to the process group, SIGKILL after `graceMs`; returns once it has ended (bounded).
  void Stop(DWORD graceMs = 2000);

 private:
  friend HostProcess StartHost(const std::string& shellCommand);
  struct State;
  std::unique_ptr<State> state_;
};

// Starts `shellCommand` (a /bin/sh command line) and returns at once.
HostProcess StartHost(const std::string& shellCommand);

// Runs `shellCommand` to its end; a command still running after `timeoutMs` is stopped.
HostResult RunHost(const std::string& shellCommand, DWORD timeoutMs = 10000);

}  // namespace testsupport
