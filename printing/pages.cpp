#include "printing/pages.h"

namespace printing {

using common::PortKind;

bool IsReceiptModel(int modelIndex) { return modelIndex < 6; }

namespace {

// The heading that names the connection kind on a port page; none for Other.
const wchar_t* PortHeading(PortKind kind) {
  switch (kind) {
    case PortKind::Usb:
      return L"USB PORT:";
    case PortKind::Com:
      return L"COM PORT:";
    case PortKind::Lan:
      return L"LAN IP ADDRESS:";
    case PortKind::Ble:
      return L"BLUETOOTH PORT:";
    case PortKind::Other:
      break;
  }
  return nullptr;
}

}  // namespace

std::wstring ReceiptPortText(PortKind kind, const std::wstring& port) {
  const wchar_t* heading = PortHeading(kind);
  if (!heading || kind == PortKind::Usb) return std::wstring();
  return heading + port;
}

std::wstring LabelPortText(int modelIndex, PortKind kind, const std::wstring& port) {
  const wchar_t* heading = PortHeading(kind);
  if (!heading) return std::wstring();
  const wchar_t* size = modelIndex == 7   ? L"SIZE 75 MM,30 MM\n"
                        : modelIndex == 8 ? L"SIZE 50 MM,30 MM\n"
                                          : L"SIZE 100 MM,150 MM\n";
  std::wstring page = size;
  page += L"GAP 3 MM,0 MM\n";
  page += L"CLS\n";
  page += L"TEXT 16,36,\"3\",0,2,2,\"" + std::wstring(heading) + L"\"\n";
  page += L"TEXT 16,88,\"3\",0,2,2,\"" + port + L"\"\n";
  page += L"PRINT 1,1\n";
  return page;
}

std::string PageBytes(const std::string& ansiText) { return ansiText + '\0'; }

std::string SelfTestCommand(int modelIndex) {
  if (IsReceiptModel(modelIndex)) return std::string("\x1F\x1B\x1F\x67\x0A\x00", 6);
  return std::string("SELFTEST\n\0", 10);
}

std::optional<TransportRequest> TransportRequestFor(PortKind kind, const std::wstring& port,
                                                    const std::wstring& baudText) {
  switch (kind) {
    case PortKind::Usb:
      return TransportRequest{L"USB", L""};
    case PortKind::Com:
    case PortKind::Ble:
      return TransportRequest{port, baudText};
    case PortKind::Lan:
      return TransportRequest{L"LAN", port};
    case PortKind::Other:
      break;
  }
  return std::nullopt;
}

std::wstring CheckConnectionMessage(common::LangId language) {
  if (language == common::kChinese) return L"请检查打印机连接";
  if (language == common::kJapanese) return L"プリンターの接続を確認してください";
  return L"Please check the connection！";
}

}  // namespace printing
