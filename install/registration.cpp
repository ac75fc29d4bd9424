#include "install/registration.h"

#include "install/messages.h"
#include "install/model_table.h"

namespace install {

std::vector<std::wstring> DependentFiles(int modelIndex, InstallWay way) {
  if (way == InstallWay::Label) {
    if (modelIndex < kLabelTemplateModel || modelIndex > 8) return {};
    std::vector<std::wstring> names = {
        L"KTL-400L (4inch).ini",
        L"UNIRES.DLL",
        L"KTL-400L (4inch)RES.dll",
        L"KTL-400L (4inch).gpd",
        L"KTL-400L (4inch)UI.dll",
        L"KTL-400L (4inch)Drv.dll",
        L"STDNAMES.GPD",
        L"QVCHISMPL.DLL",
        L"QVCHITRAD.DLL",
        L"QVENGLISH.DLL",
        L"SupportUI.dll",
    };
    for (auto& name : names) name = ReplaceTemplateName(name, ModelName(modelIndex));
    return names;
  }
  const wchar_t* resource = L"R80.dll";
  if (modelIndex == 2 || modelIndex == 3) resource = L"R58.dll";
  if (modelIndex == 4 || modelIndex == 5) resource = L"R76.dll";
  return {L"Receipt.ini",   L"ReceiptDrv.dll", L"ReceiptUI.dll", L"QVCHISMPL.DLL", L"QVCHITRAD.DLL",
          L"QVENGLISH.DLL", L"TTFSUB.GPD",     L"STDNAMES.GPD",  L"UNIRES.DLL",    resource};
}

std::wstring MultiString(const std::vector<std::wstring>& names) {
  std::wstring list;
  for (const auto& name : names) list.append(name).push_back(L'\0');
  list.push_back(L'\0');
  return list;
}

DriverDescription DescribeDriver(int modelIndex, InstallWay way, const std::wstring& environment,
                                 const std::wstring& printerName) {
  DriverDescription d;
  d.version = 3;
  d.name = ModelName(modelIndex);
  d.environment = environment;
  d.dependentFiles = DependentFiles(modelIndex, way);
  if (way == InstallWay::Receipt) {
    d.driverPath = L"uniDRV.DLL";
    d.dataFile = ModelGpdFile(modelIndex);
    d.configFile = L"uniDRVUI.DLL";
    d.helpFile = L"uniDRV.HLP";
    d.hasDefaultDataType = true;
    d.defaultDataType = L"RAW";
  } else {
    d.driverPath = L"UNIDRV.dll";
    d.dataFile = printerName + L".gpd";
    d.configFile = L"UNIDRVUI.dll";
    d.helpFile = L"UNIDRV.HLP";
    d.hasDefaultDataType = false;
  }
  return d;
}

PrinterDescription DescribePrinter(const std::wstring& queueName, const std::wstring& portName,
                                   int modelIndex) {
  return {queueName, portName, ModelName(modelIndex), L"WinPrint", L"RAW", kPrinterAttributeLocal};
}

std::vector<PrinterDataValue> PrinterDataValues(int modelIndex, InstallWay way,
                                                common::LangId windowsLanguage) {
  bool receipt = way == InstallWay::Receipt;
  std::vector<PrinterDataValue> values = {
      {L"PrinterType", receipt ? 1ul : 0ul},
      {L"Language", UsesChineseTexts(windowsLanguage) ? 0ul : 2ul},
  };
  if (receipt) {
    bool withoutCutter = modelIndex == 1 || modelIndex == 3 || modelIndex == 5;
    values.push_back({L"Cutter", withoutCutter ? 0ul : 1ul});
    values.push_back({L"PaperSel", 6});
  }
  return values;
}

std::vector<std::wstring> StagedFilesToRemove(const std::wstring& driverDirectory, int modelIndex) {
  std::vector<std::wstring> paths;
  for (const wchar_t* name :
       {ModelResourceFile(modelIndex), ModelGpdFile(modelIndex), L"UNIDRV.DLL", L"UNIDRVUI.DLL",
        L"UNIRES.DLL", L"UNIDRV.HLP", L"TTFSUB.GPD", L"STDNAMES.GPD"})
    paths.push_back(PathIn(driverDirectory, name));
  return paths;
}

}  // namespace install
