#include "install/label_files.h"

#include "common/format.h"

namespace install {
namespace {

std::wstring Wide(const std::string& bytes) {
  std::wstring wide;
  for (unsigned char c : bytes) wide += static_cast<wchar_t>(c);
  return wide;
}

}  // namespace

std::string LabelIniText(const std::string& modelName) {
  return common::FormatBytes(
      "[OEMFiles]\r\nOEMDriverFile1=%s%s\r\nOEMConfigFile1=%s%s\r\n",
      {Wide(modelName), std::wstring(L"Drv.dll"), Wide(modelName), std::wstring(L"UI.dll")});
}

std::string LabelResourceFileName(const std::string& modelName) { return modelName + "RES.dll"; }

std::string RewriteLabelGpd(const std::string& packageGpd, const std::string& gpdFileName,
                            const std::string& modelName) {
  struct Key {
    const char* key;
    const char* format;
    std::string value;
  };
  const Key keys[] = {
      {"*GPDFileName:", "*GPDFileName:\"%s\"\r\n", gpdFileName},
      {"*ModelName:", "*ModelName:\"%s\"\r\n", modelName},
      {"*ResourceDLL:", "*ResourceDLL:\"%s\"\r\n", LabelResourceFileName(modelName)},
  };
  std::string out;
  for (size_t at = 0; at < packageGpd.size();) {
    size_t end = packageGpd.find('\n', at);
    end = end == std::string::npos ? packageGpd.size() : end + 1;
    if (end - at > kGpdPieceBytes) end = at + kGpdPieceBytes;
    std::string piece = packageGpd.substr(at, end - at);
    at = end;
    const Key* found = nullptr;
    for (const Key& k : keys)
      if (!found && piece.find(k.key) != std::string::npos) found = &k;
    out += found ? common::FormatBytes(found->format, {Wide(found->value)}) : piece;
  }
  return out;
}

}  // namespace install
