// Where the driver files of a model come from and under which names they are staged into the
// spooler's printer-driver directory.
#pragma once

#include <string>
#include <vector>

namespace install {

// How a model is installed: the receipt driver with its shared files, or the label driver whose
// files are renamed and rewritten for the chosen label model.
enum class InstallWay { Receipt, Label };

// Receipt models (index below 6) clear labelKind for good; from index 6 on the label way is taken
// only while labelKind is still set.
InstallWay ChooseInstallWay(int modelIndex, bool& labelKind);

constexpr const wchar_t* kEnvironmentX64 = L"Windows x64";
constexpr const wchar_t* kEnvironmentX86 = L"Windows NT x86";

// The spooler's driver environment, which is also the package sub-folder: "Windows x64" only for
// the architecture text exactly "x64"; any other text, or none (nullptr), is "Windows NT x86".
const wchar_t* DriverEnvironment(const char* architecture);

// The folder of the executable: its path up to, not including, the last backslash; "" when the
// path has no backslash.
std::wstring ProgramFolder(const std::wstring& executablePath);

// The folder that StageDriverPackage searches: <program>\<environment> for receipt models,
// <program>\KTL-400L (4inch)\<environment> for label models.
std::wstring PackageFolder(const std::wstring& programFolder, const std::wstring& environment,
                           InstallWay way);

// "<folder>\<name>".
std::wstring PathIn(const std::wstring& folder, const std::wstring& name);

struct FileCopy {
  std::wstring source;
  std::wstring target;
};

// A receipt model's own two files, resource file first, then GPD file: from
// <program>\<environment>\RES into the driver directory under the same names. An index outside
// the model table, or a row without files, yields copies of the RES folder itself, which fail.
std::vector<FileCopy> ReceiptModelCopies(const std::wstring& programFolder,
                                         const std::wstring& environment,
                                         const std::wstring& driverDirectory, int modelIndex);

// The directory-search pattern of a package folder given with or without trailing backslash.
std::wstring SearchPattern(const std::wstring& packageFolder);

// Every occurrence of "KTL-400L (4inch)" in name replaced with printerName.
std::wstring ReplaceTemplateName(const std::wstring& name, const std::wstring& printerName);

enum class StageAction {
  Skip,        // a directory ("." and ".." included): sub-folders are not entered
  Copy,        // copy the entry, overwriting, under targetName
  WriteIni,    // label INI: write the [OEMFiles] text afresh under targetName
  RewriteGpd,  // label GPD: copy with the three keys rewritten, under targetName
};

struct StageStep {
  StageAction action;
  std::wstring targetName;  // file name in the driver directory
};

// What staging does with one entry of the package folder. On the label way the last three
// characters of the name choose, case-sensitively: "ini" and "gpd" are rewritten, anything else
// (also ".INI" and "STDNAMES.GPD") is copied, with the template name replaced by printerName.
StageStep PlanStagingEntry(const std::wstring& entryName, bool isDirectory, bool labelKind,
                           const std::wstring& printerName);

}  // namespace install
