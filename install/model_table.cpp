#include "install/model_table.h"

namespace install {

const ModelRow kModelTable[kModelCount] = {
    {L"TPR-80C", L"R80.DLL", L"R80C.GPD", ModelKind::Receipt},
    {L"TPR-80", L"R80.DLL", L"R80.GPD", ModelKind::Receipt},
    {L"TPR-58C", L"R58.DLL", L"R58C.GPD", ModelKind::Receipt},
    {L"TPR-58", L"R58.DLL", L"R58.GPD", ModelKind::Receipt},
    {L"TPR-76C", L"R76.DLL", L"R76C.GPD", ModelKind::Receipt},
    {L"TPR-76", L"R76.DLL", L"R76.GPD", ModelKind::Receipt},
    {L"KTL-400L (4inch)", L"R90.DLL", L"R90.GPD", ModelKind::Label},
    {L"KTL-300L (3inch)", L"", L"", ModelKind::Label},
    {L"KTL-200L (2inch)", L"", L"", ModelKind::Label},
    {L"TPR-90", L"", L"", ModelKind::Receipt},
};

const ModelRow* ModelAt(int modelIndex) {
  if (modelIndex < 0 || modelIndex >= kModelCount) return nullptr;
  return &kModelTable[modelIndex];
}

const wchar_t* ModelName(int modelIndex) {
  const ModelRow* row = ModelAt(modelIndex);
  return row ? row->name : L"";
}

const wchar_t* ModelResourceFile(int modelIndex) {
  const ModelRow* row = ModelAt(modelIndex);
  return row ? row->resourceFile : L"";
}

const wchar_t* ModelGpdFile(int modelIndex) {
  const ModelRow* row = ModelAt(modelIndex);
  return row ? row->gpdFile : L"";
}

}  // namespace install
