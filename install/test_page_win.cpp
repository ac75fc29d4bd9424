#include "install/test_page_win.h"

#include "install/test_page.h"

namespace install {

void PrintDriverTestPage(const std::wstring& queueName, HBITMAP picture, const wchar_t* pageText) {
  BITMAP size = {};
  GetObjectW(picture, sizeof size, &size);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(memory, picture);
  HDC printer = CreateDCW(nullptr, queueName.c_str(), nullptr, nullptr);

  if (printer) {
    DOCINFOW document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = queueName.c_str();
    StartDocW(printer, &document);
    StartPage(printer);
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    const LocalTime printedAt = {now.wYear, now.wMonth,  now.wDay,
                                 now.wHour, now.wMinute, now.wSecond};
    for (const PageElement& e : TestPageLayout(pageText ? pageText : L"", queueName, size.bmWidth,
                                               size.bmHeight, printedAt)) {
      switch (e.kind) {
        case PageElement::Kind::TextBlock: {
          RECT area = {e.left, e.top, e.right, e.bottom};
          DrawTextW(printer, e.text.c_str(), static_cast<int>(e.text.size()), &area,
                    e.drawTextFlags);
          break;
        }
        case PageElement::Kind::Picture:
          BitBlt(printer, e.left, e.top, e.right - e.left, e.bottom - e.top, memory, 0, 0, SRCCOPY);
          break;
        case PageElement::Kind::TextLine:
          TextOutW(printer, e.left, e.top, e.text.c_str(), static_cast<int>(e.text.size()));
          break;
      }
    }
    EndPage(printer);
    EndDoc(printer);
    DeleteDC(printer);
  }
  SelectObject(memory, previous);
  DeleteDC(memory);
}

}  // namespace install
