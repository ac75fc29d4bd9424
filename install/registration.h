// What the spooler is told about a new driver and queue: the driver description, the queue
// description, the printer data the drivers read, and the staged copies removed afterwards.
#pragma once

#include <string>
#include <vector>

#include "common/types.h"
#include "install/staging.h"

namespace install {

// Pause after each spooler registration call, so that the spooler has taken the new object
// before the next call refers to it.
constexpr unsigned kSpoolerPauseMs = 111;

// Files the registered driver names besides its driver, data, configuration and help files,
// in the order the spooler receives them. Receipt way: the shared files and the model's
// resource DLL (80 mm for rows 0, 1 and every row above 5, 58 mm for 2 and 3, 76 mm for 4 and
// 5). Label way: the eleven label files named after models 6 to 8; no files for any other row.
std::vector<std::wstring> DependentFiles(int modelIndex, InstallWay way);

// Names separated by a zero character and ended by an extra one (the spooler's list form).
std::wstring MultiString(const std::vector<std::wstring>& names);

// The fields of DRIVER_INFO_3W. The two ways spell the Unidrv file names differently, and only
// the receipt driver has a default data type.
struct DriverDescription {
  unsigned version;
  std::wstring name;
  std::wstring environment;
  std::wstring driverPath;
  std::wstring dataFile;
  std::wstring configFile;
  std::wstring helpFile;
  std::vector<std::wstring> dependentFiles;
  bool hasDefaultDataType;
  std::wstring defaultDataType;
};

// printerName is still the model name at this point; the label driver's data file is named
// after it.
DriverDescription DescribeDriver(int modelIndex, InstallWay way, const std::wstring& environment,
                                 const std::wstring& printerName);

// The fields of PRINTER_INFO_2W that are not zero or none.
struct PrinterDescription {
  std::wstring printerName;
  std::wstring portName;
  std::wstring driverName;
  std::wstring printProcessor;
  std::wstring dataType;
  unsigned long attributes;
};

constexpr unsigned long kPrinterAttributeLocal = 0x40;

PrinterDescription DescribePrinter(const std::wstring& queueName, const std::wstring& portName,
                                   int modelIndex);

// One REG_DWORD value of printer data.
struct PrinterDataValue {
  const wchar_t* name;
  unsigned long value;
};

// In writing order: "PrinterType", "Language", and on the receipt way "Cutter" and "PaperSel".
std::vector<PrinterDataValue> PrinterDataValues(int modelIndex, InstallWay way,
                                                common::LangId windowsLanguage);

// Receipt way, after the queue exists: the staged copies deleted from the driver directory
// itself, in order. The other shared receipt files stay.
std::vector<std::wstring> StagedFilesToRemove(const std::wstring& driverDirectory, int modelIndex);

}  // namespace install
