#pragma once
// Pictures of the screen: the Wine virtual desktop draws window frames, and
// the desktop window's device context gives what it shows.
#include <cstdint>
#include <string>
#include <vector>

#include "e2e/robot/Window.h"

namespace e2e {

struct Image {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows from the top
  std::uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The screen inside `window`'s outer rectangle (the whole screen for a null window).
Image capture(const Window& window = Window());
// How many pixels of `control`'s rectangle, less the part that `cover` hides,
// have `colour` (0x00RRGGBB) in `screen`, a capture of the whole screen.
int pixelsOf(const Image& screen, const Window& control, std::uint32_t colour, const Window& cover = Window());

// The control (a message box's icon) shows the system icon `icon` (IDI_HAND,
// IDI_QUESTION, ...): what the screen shows at its top left, pixel for pixel,
// equals that icon drawn here over the control's background colour.
bool showsSystemIcon(const Window& control, const char* icon);

// Writes the whole screen, or `window` with its frame, to
// <build>/screenshots/<name>.bmp once it has stopped changing (windows just
// shown paint a moment later), or after `settle` as it is then (at once for a
// zero `settle`); gives the file's path.
std::string saveScreenshot(const std::string& name, Millis settle = Millis(2000), const Window& window = Window());

}  // namespace e2e
