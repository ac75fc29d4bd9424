// The driver test page: what is drawn where, in printer device units (one unit per dot, origin
// at the top left of the printable area), in drawing order.
#pragma once

#include <string>
#include <vector>

namespace install {

struct PageElement {
  enum class Kind {
    TextBlock,  // DrawText into the rectangle with flags (left-aligned, lines at '\n' only)
    Picture,    // BitBlt of the picture at its own size, copy mode
    TextLine,   // TextOut at (left, top)
  };
  Kind kind;
  int left, top, right, bottom;  // right and bottom only for TextBlock and Picture
  std::wstring text;             // TextBlock and TextLine
  unsigned drawTextFlags;        // TextBlock
};

// DrawText flag: draw without clipping to the rectangle.
constexpr unsigned kDrawTextNoClip = 0x100;

struct LocalTime {
  int year, month, day, hour, minute, second;
};

// "  YYYY-MM-DD hh:mm:ss": two blanks, the year unpadded, the rest two digits each.
std::wstring TestPageTimeStamp(const LocalTime& time);

// The page text, then the picture over it, then the queue name, then the time stamp. No font,
// colour or background mode is chosen: everything uses the printer's defaults.
std::vector<PageElement> TestPageLayout(const std::wstring& pageText, const std::wstring& queueName,
                                        int pictureWidth, int pictureHeight,
                                        const LocalTime& printedAt);

}  // namespace install
