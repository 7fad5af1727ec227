#include "e2e/robot/Screen.h"

#include <windows.h>

#include <algorithm>

#include "e2e/robot/Files.h"

namespace e2e {

namespace {

// A top-down 32-bit DIB section selected into a memory DC, released on destruction.
class Canvas {
 public:
  Canvas(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (!bitmap_) throw RobotError("cannot make a " + std::to_string(width) + " x " + std::to_string(height) + " bitmap");
    old_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  Image image() const {
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits_);
    Image image{width_, height_, {}};
    image.pixels.assign(first, first + static_cast<size_t>(width_) * height_);
    for (auto& p : image.pixels) p &= 0x00FFFFFF;
    return image;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

void writeBmp(const Image& image, const std::string& path) {
  const DWORD pixelBytes = static_cast<DWORD>(image.pixels.size() * 4);
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + pixelBytes;
  info.biSize = sizeof info;
  info.biWidth = image.width;
  info.biHeight = -image.height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  bytes.append(reinterpret_cast<const char*>(image.pixels.data()), pixelBytes);
  writeFile(path, bytes);
}

}  // namespace

Image capture(const Window& window) {
  RECT r;
  GetWindowRect(window ? window.handle() : GetDesktopWindow(), &r);
  Canvas canvas(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(canvas.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  return canvas.image();
}

int pixelsOf(const Image& screen, const Window& control, std::uint32_t colour, const Window& cover) {
  RECT area, hidden = {0, 0, 0, 0};
  GetWindowRect(control.handle(), &area);
  if (cover) GetWindowRect(cover.handle(), &hidden);
  int n = 0;
  for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, screen.height); ++y)
    for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, screen.width); ++x) {
      const POINT p = {x, y};
      if (!PtInRect(&hidden, p) && screen.at(x, y) == colour) ++n;
    }
  return n;
}

bool showsSystemIcon(const Window& control, const char* icon) {
  const Image shown = capture(control);
  const int size = GetSystemMetrics(SM_CXICON);
  if (shown.width < size || shown.height < size) return false;
  const std::uint32_t background = shown.at(shown.width - 1, shown.height - 1);
  Canvas canvas(size, size);
  HBRUSH brush = CreateSolidBrush(RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
  const RECT all = {0, 0, size, size};
  FillRect(canvas.dc(), &all, brush);
  DeleteObject(brush);
  DrawIconEx(canvas.dc(), 0, 0, LoadIconA(nullptr, icon), 0, 0, 0, nullptr, DI_NORMAL);
  const Image expected = canvas.image();
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (shown.at(x, y) != expected.at(x, y)) return false;
  return true;
}

std::string saveScreenshot(const std::string& name, Millis settle, const Window& window) {
  const std::string dir = hostPath(TSAVER_BUILD_DIR "/screenshots");
  makeDirectories(dir);
  const std::string path = dir + "\\" + name + ".bmp";
  const auto deadline = std::chrono::steady_clock::now() + settle;
  Image frame = capture(window);
  while (settle.count() > 0) {
    Sleep(150);
    Image next = capture(window);
    const bool settled = next.pixels == frame.pixels;
    frame = std::move(next);
    if (settled || std::chrono::steady_clock::now() >= deadline) break;
  }
  writeBmp(frame, path);
  return path;
}

}  // namespace e2e
