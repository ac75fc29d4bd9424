// The spooler steps of an installation, each a thin call of the spooler client with the
// descriptions of install/registration.h; failures are shown to the user here.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/types.h"
#include "install/registration.h"

namespace install {

// The spooler's printer-driver directory of the environment on this machine, "" when the
// spooler reports none (for instance while it is stopped).
std::wstring PrinterDriverDirectory(const std::wstring& environment);

// The names of all local and connected printers; false when the spooler could not list them.
bool EnumerateInstalledPrinterNames(std::vector<std::wstring>& names);

// AddPrinterDriverW level 3. On failure: the system's error text, then the driver message.
bool RegisterDriver(const DriverDescription& driver, common::LangId windowsLanguage);

// AddPrinterW level 2; the new queue's handle, or nullptr after the system's error text and the
// queue message.
HANDLE AddQueue(const PrinterDescription& printer);

// The printer data as REG_DWORD values on the queue, then closes the queue handle.
void WritePrinterData(HANDLE queue, const std::vector<PrinterDataValue>& values);

// Deletes the files; results are ignored.
void RemoveStagedFiles(const std::vector<std::wstring>& paths);

// Makes the queue the user's default printer through WINSPOOL.DRV ordinal 204.
bool SetDefaultPrinterByOrdinal(const std::wstring& queueName);

// The system's text for an error code in a message box (the code itself if it has no text).
void ShowSystemErrorText(DWORD error);

}  // namespace install
