#include "install/test_page.h"

#include "common/format.h"

namespace install {

std::wstring TestPageTimeStamp(const LocalTime& t) {
  return common::FormatText(L"  %d-%02d-%02d %02d:%02d:%02d",
                            {static_cast<long long>(t.year), static_cast<long long>(t.month),
                             static_cast<long long>(t.day), static_cast<long long>(t.hour),
                             static_cast<long long>(t.minute), static_cast<long long>(t.second)});
}

std::vector<PageElement> TestPageLayout(const std::wstring& pageText, const std::wstring& queueName,
                                        int pictureWidth, int pictureHeight,
                                        const LocalTime& printedAt) {
  using Kind = PageElement::Kind;
  return {
      {Kind::TextBlock, 10, 10, 400, 500, pageText, kDrawTextNoClip},
      {Kind::Picture, 30, 20, 30 + pictureWidth, 20 + pictureHeight, L"", 0},
      {Kind::TextLine, 10, 430, 0, 0, queueName, 0},
      {Kind::TextLine, -20, 500, 0, 0, TestPageTimeStamp(printedAt), 0},
  };
}

}  // namespace install
