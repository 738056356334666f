#include "ui/window.h"

#include <stdexcept>

#include "platform/win32/wide.h"

namespace vh::ui {
namespace {

void RegisterOnce(const wchar_t* className, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
  wc.lpszClassName = className;
  if (!RegisterClassExW(&wc)) throw std::runtime_error("The window class could not be registered.");
}

// The system's message font at the given dots per inch.
HFONT CreateMessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), 96);
  return CreateFontIndirectW(&font);
}

}  // namespace

Window::~Window() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (font_) DeleteObject(font_);
}

int Window::Scale(int pixels) const {
  const UINT dpi = hwnd_ ? GetDpiForWindow(hwnd_) : GetDpiForSystem();
  return MulDiv(pixels, static_cast<int>(dpi ? dpi : 96), 96);
}

void Window::CreateCentred(const wchar_t* className, DWORD style, DWORD exStyle, const std::string& caption,
                           int width, int height) {
  RegisterOnce(className, &Window::Procedure);
  const UINT dpi = GetDpiForSystem();
  RECT frame{0, 0, MulDiv(width, static_cast<int>(dpi), 96), MulDiv(height, static_cast<int>(dpi), 96)};
  AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  CreateWindowExW(exStyle, className, win32::Widen(caption).c_str(), style, x, y, w, h, nullptr, nullptr,
                  GetModuleHandleW(nullptr), this);
  if (!hwnd_) throw std::runtime_error("The window could not be created.");
  font_ = CreateMessageFont(GetDpiForWindow(hwnd_));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

HWND Window::CreateControl(const wchar_t* className, const std::string& text, DWORD style, int x, int y, int width,
                           int height, int id) {
  HWND control = CreateWindowExW(0, className, win32::Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, Scale(x),
                                 Scale(y), Scale(width), Scale(height), hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!control) throw std::runtime_error("A control could not be created.");
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return control;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace vh::ui
