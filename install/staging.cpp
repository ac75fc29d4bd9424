#include "install/staging.h"

#include <cstring>

#include "common/format.h"
#include "install/model_table.h"

namespace install {

InstallWay ChooseInstallWay(int modelIndex, bool& labelKind) {
  if (IsReceiptModelIndex(modelIndex)) labelKind = false;
  return labelKind ? InstallWay::Label : InstallWay::Receipt;
}

const wchar_t* DriverEnvironment(const char* architecture) {
  return architecture && std::strcmp(architecture, "x64") == 0 ? kEnvironmentX64 : kEnvironmentX86;
}

std::wstring ProgramFolder(const std::wstring& executablePath) {
  size_t slash = executablePath.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : executablePath.substr(0, slash);
}

std::wstring PackageFolder(const std::wstring& programFolder, const std::wstring& environment,
                           InstallWay way) {
  if (way == InstallWay::Label)
    return programFolder + L"\\" + kLabelTemplateName + L"\\" + environment;
  return programFolder + L"\\" + environment;
}

std::wstring PathIn(const std::wstring& folder, const std::wstring& name) {
  return common::FormatText(L"%s\\%s", {folder, name});
}

std::vector<FileCopy> ReceiptModelCopies(const std::wstring& programFolder,
                                         const std::wstring& environment,
                                         const std::wstring& driverDirectory, int modelIndex) {
  std::vector<FileCopy> copies;
  for (const wchar_t* name : {ModelResourceFile(modelIndex), ModelGpdFile(modelIndex)}) {
    std::wstring inPackage = common::FormatText(L"%s\\RES\\%s", {environment, name});
    copies.push_back({programFolder + L"\\" + inPackage, PathIn(driverDirectory, name)});
  }
  return copies;
}

std::wstring SearchPattern(const std::wstring& packageFolder) {
  bool hasSlash = !packageFolder.empty() && packageFolder.back() == L'\\';
  return packageFolder + (hasSlash ? L"" : L"\\") + L"*.*";
}

std::wstring ReplaceTemplateName(const std::wstring& name, const std::wstring& printerName) {
  const std::wstring from = kLabelTemplateName;
  std::wstring out;
  size_t at = 0;
  for (size_t hit; (hit = name.find(from, at)) != std::wstring::npos; at = hit + from.size())
    out.append(name, at, hit - at).append(printerName);
  return out.append(name, at, std::wstring::npos);
}

StageStep PlanStagingEntry(const std::wstring& entryName, bool isDirectory, bool labelKind,
                           const std::wstring& printerName) {
  if (isDirectory) return {StageAction::Skip, L""};
  if (!labelKind) return {StageAction::Copy, entryName};
  std::wstring target = ReplaceTemplateName(entryName, printerName);
  std::wstring extension =
      entryName.size() >= 3 ? entryName.substr(entryName.size() - 3) : entryName;
  if (extension == L"ini") return {StageAction::WriteIni, target};
  if (extension == L"gpd") return {StageAction::RewriteGpd, target};
  return {StageAction::Copy, target};
}

}  // namespace install
