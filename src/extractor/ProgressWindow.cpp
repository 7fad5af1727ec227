#include "extractor/ProgressWindow.h"

namespace tsaver::extractor {

namespace {

const char kClass[] = "TsaverExtractorProgress";
const char kCaption[] = "Tessaryn Saver Setup";
constexpr int kWidth = 360, kHeight = 120;
constexpr int kMargin = 16, kBarTop = 44, kBarHeight = 18;

}  // namespace

ProgressWindow::ProgressWindow(HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, "MAINICON");
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClass;
  RegisterClassA(&windowClass);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2, top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  window_ = CreateWindowExA(0, kClass, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, left, top,
                            kWidth, kHeight, nullptr, nullptr, instance, this);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

ProgressWindow::~ProgressWindow() { close(); }

void ProgressWindow::close() {
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
}

void ProgressWindow::setText(const char* text) {
  text_ = text;
  InvalidateRect(window_, nullptr, TRUE);
  setProgress(0, 1);
}

void ProgressWindow::setProgress(unsigned long long done, unsigned long long total) {
  const auto permille = static_cast<unsigned>(total ? done * 1000 / total : 1000);
  if (permille != permille_) {
    permille_ = permille;
    InvalidateRect(window_, nullptr, FALSE);
  }
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void ProgressWindow::paint(HDC dc) const {
  RECT client;
  GetClientRect(window_, &client);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  RECT line = {kMargin, 14, client.right - kMargin, kBarTop - 4};
  DrawTextA(dc, text_, -1, &line, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  RECT bar = {kMargin, kBarTop, client.right - kMargin, kBarTop + kBarHeight};
  DrawEdge(dc, &bar, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  RECT done = bar;
  done.right = bar.left + static_cast<LONG>((bar.right - bar.left) * static_cast<long long>(permille_) / 1000);
  FillRect(dc, &done, GetSysColorBrush(COLOR_HIGHLIGHT));
  RECT rest = bar;
  rest.left = done.right;
  FillRect(dc, &rest, GetSysColorBrush(COLOR_WINDOW));
}

LRESULT CALLBACK ProgressWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paintStruct;
      HDC dc = BeginPaint(window, &paintStruct);
      if (self) self->paint(dc);
      EndPaint(window, &paintStruct);
      return 0;
    }
    case WM_CLOSE:
      // The work cannot stop half-way without leaving files: the close box waits for its end.
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace tsaver::extractor
