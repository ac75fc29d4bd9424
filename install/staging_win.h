// Copies of the driver files into the spooler's printer-driver directory.
#pragma once

#include <string>

namespace install {

// A receipt model's resource and GPD file from the package's RES folder, overwriting. Both
// copies are made even when the first fails; true only if both succeeded.
bool CopyReceiptModelFiles(const std::wstring& programFolder, const std::wstring& environment,
                           const std::wstring& driverDirectory, int modelIndex);

}  // namespace install
