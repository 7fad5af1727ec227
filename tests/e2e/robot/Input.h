#pragma once
// Real input, as a user gives it: SendInput hands keys to the focus of the
// foreground window and a click to the window beneath the pointer, which may
// move the focus; a posted message goes where it is sent and moves nothing.
// Both return once the input is queued, before the program has read it.
#include <vector>

#include "e2e/robot/Window.h"

namespace e2e {

// Presses and releases each virtual key in turn, `target`'s top-level window in the foreground.
void typeKeys(const Window& target, const std::vector<WORD>& keys);
// Clicks the left mouse button over the middle of `control`, its window in the foreground.
void clickWithMouse(const Window& control);

}  // namespace e2e
