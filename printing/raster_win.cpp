#include "printing/raster_win.h"

#include <cstring>

namespace printing {
namespace {

// 20 points at the screen's resolution as a character height, default character set: the
// point-size font the ticket was designed with.
HFONT CreateTicketFont() {
  LOGFONTW description = {};
  HDC screen = GetDC(nullptr);
  description.lfHeight = -MulDiv(200, GetDeviceCaps(screen, LOGPIXELSY), 720);
  ReleaseDC(nullptr, screen);
  description.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(description.lfFaceName, L"Arial Unicode MS", LF_FACESIZE);
  return CreateFontIndirectW(&description);
}

// Height of the text with its own line breaks only: no wrapping, no tab expansion.
int MeasuredHeight(HFONT font, const std::wstring& text) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, font);
  RECT bounds = {0, 0, 0, 0};
  DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &bounds, DT_CALCRECT);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return bounds.bottom - bounds.top;
}

}  // namespace

TicketCanvas::TicketCanvas(const std::wstring& text) {
  screen_ = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  memory_ = screen_ ? CreateCompatibleDC(screen_) : nullptr;
  font_ = CreateTicketFont();
  if (!memory_ || !font_ || text.empty()) return;
  height_ = 2 * MeasuredHeight(font_, text);
  if (height_ <= 0) return;
  bitmap_ = CreateCompatibleBitmap(screen_, kTicketWidth, height_);
  if (!bitmap_) return;
  previousBitmap_ = SelectObject(memory_, bitmap_);
  RECT area;
  SetRect(&area, 0, 0, kTicketWidth, height_);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(memory_, &area, white);
  DeleteObject(white);
  SetBkMode(memory_, TRANSPARENT);
  SetBkColor(memory_, RGB(255, 255, 255));
  previousFont_ = SelectObject(memory_, font_);
  DrawTextW(memory_, text.c_str(), static_cast<int>(text.size()), &area, DT_WORDBREAK);
}

TicketCanvas::~TicketCanvas() {
  if (previousFont_) SelectObject(memory_, previousFont_);
  if (previousBitmap_) SelectObject(memory_, previousBitmap_);
  if (bitmap_) DeleteObject(bitmap_);
  if (font_) DeleteObject(font_);
  if (memory_) DeleteDC(memory_);
  if (screen_) DeleteDC(screen_);
}

PixelImage TicketCanvas::ReadPixels() const {
  PixelImage image;
  if (!ok()) return image;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kTicketWidth;
  info.bmiHeader.biHeight = -height_;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(memory_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section) return image;
  HDC copy = CreateCompatibleDC(memory_);
  HGDIOBJ previous = SelectObject(copy, section);
  bool copied = BitBlt(copy, 0, 0, kTicketWidth, height_, memory_, 0, 0, SRCCOPY) != FALSE;
  GdiFlush();
  if (copied) {
    // Each 32-bit pixel is blue, green, red, unused: 0x00RRGGBB read as a little-endian word.
    image.width = kTicketWidth;
    image.height = height_;
    image.pixels.resize(static_cast<size_t>(kTicketWidth) * height_);
    std::memcpy(image.pixels.data(), bits, image.pixels.size() * sizeof(std::uint32_t));
    for (auto& pixel : image.pixels) pixel &= 0x00FFFFFF;
  }
  SelectObject(copy, previous);
  DeleteDC(copy);
  DeleteObject(section);
  return image;
}

void PrintTextAsRaster(const std::wstring& devicePath, const std::wstring& text) {
  TicketCanvas canvas(text);
  if (!canvas.ok()) return;
  SendRasterToUsbDevice(canvas.ReadPixels(), devicePath);
}

void SendRasterToUsbDevice(const PixelImage& image, const std::wstring& devicePath) {
  const std::string block = PackRaster(image);
  if (block.empty()) return;
  HANDLE device = CreateFileW(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (device == INVALID_HANDLE_VALUE) {
    OutputDebugStringW(L"open usb device failed !");
    OutputDebugStringW(L"print failed !");
    return;
  }
  DWORD written = 0;
  if (WriteFile(device, block.data(), static_cast<DWORD>(block.size()), &written, nullptr))
    OutputDebugStringW(L"print scuessful !");
  else
    OutputDebugStringW(L"print failed !");
  CloseHandle(device);
}

}  // namespace printing
