#include "install/queue_name.h"

#include "common/format.h"
#include "install/messages.h"

namespace install {

std::wstring ChooseQueueName(const std::wstring& modelName,
                             const std::vector<std::wstring>& installedNames,
                             common::LangId windowsLanguage,
                             std::vector<std::wstring>* debugLines) {
  const wchar_t* suffixFormat =
      UsesChineseTexts(windowsLanguage) ? L"%s (副本 %d)" : L"%s (copy %d)";
  std::wstring candidate = modelName;
  long long n = 1;
  const long long count = static_cast<long long>(installedNames.size());
  // Each match moves to a new candidate, and there are only count names to match, so the scan
  // ends after at most count restarts.
  for (long long i = 0; i < count; ++i) {
    const std::wstring& installed = installedNames[static_cast<size_t>(i)];
    if (installed == candidate) {
      candidate = common::FormatText(suffixFormat, {modelName, n});
      ++n;
      i = -1;
    }
    if (debugLines)
      debugLines->push_back(common::FormatText(
          L"name=%s,i=%d,n=%d.temStr=%s,userLanguage=%d\r\n",
          {installed, i, n, candidate, static_cast<long long>(windowsLanguage)}));
  }
  return candidate;
}

}  // namespace install
