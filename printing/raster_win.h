// The USB port ticket printed as a picture: the text drawn with a Windows font into a 576-dot
// wide image, packed as one raster bit image with a cut, written straight to the USB device.
#pragma once

#include <windows.h>

#include <string>

#include "printing/raster.h"

namespace printing {

constexpr int kTicketWidth = 576;

// The text drawn as the ticket shows it: "Arial Unicode MS" 20 pt, black on white, word-wrapped
// at 576 pixels, in an image twice as high as the text measured without wrapping. The drawing
// stays selected in a memory device context for as long as the canvas lives.
class TicketCanvas {
 public:
  explicit TicketCanvas(const std::wstring& text);
  ~TicketCanvas();
  TicketCanvas(const TicketCanvas&) = delete;
  TicketCanvas& operator=(const TicketCanvas&) = delete;

  // False when there is nothing to print (an empty text measures 0 high) or GDI failed.
  bool ok() const { return bitmap_ != nullptr; }
  int width() const { return kTicketWidth; }
  int height() const { return height_; }
  HDC dc() const { return memory_; }

  // The colours of the drawing, read in one copy through a 32-bit DIB section.
  PixelImage ReadPixels() const;

 private:
  HDC screen_ = nullptr;
  HDC memory_ = nullptr;
  HFONT font_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  HGDIOBJ previousFont_ = nullptr;
  int height_ = 0;
};

// Draws the text and sends it to the USB printer at the device path. An empty text sends
// nothing. The outcome is only written to the debug output.
void PrintTextAsRaster(const std::wstring& devicePath, const std::wstring& text);

// Packs the image (GS v 0 and the cut) and writes it to the device in one write.
void SendRasterToUsbDevice(const PixelImage& image, const std::wstring& devicePath);

}  // namespace printing
