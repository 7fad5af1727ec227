#pragma once
// The extractor's one window: a caption, a line of text and a bar, on screen
// from the program's first moment, while the setup file is checked and unpacked.
#include <windows.h>

namespace tsaver::extractor {

class ProgressWindow {
 public:
  // Shows the window at once, centred on the screen.
  explicit ProgressWindow(HINSTANCE instance);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  HWND handle() const { return window_; }
  void setText(const char* text);
  // Moves the bar to done/total and handles the messages that wait, so that the window repaints and moves.
  void setProgress(unsigned long long done, unsigned long long total);
  void close();

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void paint(HDC dc) const;

  HWND window_ = nullptr;
  const char* text_ = "";
  unsigned permille_ = 0;
};

}  // namespace tsaver::extractor
