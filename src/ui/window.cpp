#include "ui/window.h"

#include <exception>
#include <stdexcept>

#include "platform/win32/wide.h"
#include "ui/controls.h"

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

int Window::TextWidth(const std::string& text) const {
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, font_);
  const std::wstring wide = win32::Widen(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  return size.cx;
}

int Window::Register(Control& control) {
  const int id = nextId_++;
  controls_[id] = &control;
  return id;
}

int Window::ShowModal() {
  // Every other enabled top-level window of the thread waits until this one is done.
  std::vector<HWND> disabled;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM list) {
        auto* windows = reinterpret_cast<std::vector<HWND>*>(list);
        if (IsWindowEnabled(w) && IsWindowVisible(w)) windows->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&disabled));
  for (HWND w : disabled) {
    if (w != hwnd_) EnableWindow(w, FALSE);
  }
  modal_ = true;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  RunLoop([this] { return !modal_; });  // a WM_QUIT met here stays queued for the main loop
  for (HWND w : disabled) {
    if (w != hwnd_ && IsWindow(w)) EnableWindow(w, TRUE);
  }
  ShowWindow(hwnd_, SW_HIDE);
  modal_ = false;
  return modalResult_;
}

void Window::EndModal(int result) {
  modalResult_ = result;
  modal_ = false;
  PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes the modal loop
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT Window::Route(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam) {
        auto it = controls_.find(LOWORD(wParam));
        if (it != controls_.end()) {
          it->second->OnCommand(HIWORD(wParam));
          return 0;
        }
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      auto it = controls_.find(static_cast<int>(header->idFrom));
      if (it != controls_.end()) return it->second->OnNotify(header);
      break;
    }
    case WM_TIMER: {
      auto it = timers_.find(wParam);
      if (it != timers_.end()) {
        // A tick already queued when the timer was stopped is dropped.
        if (it->second->Enabled() && it->second->onTimer) it->second->onTimer();
        return 0;
      }
      break;
    }
    case WM_ACTIVATE:
      if (!defaultButton_) break;
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (IsChild(hwnd_, GetFocus())) focus_ = GetFocus();
      } else {
        SetFocus(focus_ && IsWindow(focus_) ? focus_ : defaultButton_);
      }
      return 0;
    case DM_GETDEFID:
      if (defaultButton_) return MAKELRESULT(GetDlgCtrlID(defaultButton_), DC_HASDEFID);
      break;
  }
  return HandleMessage(message, wParam, lParam);
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
  // An error must not unwind through the system's code: it is shown, and the program goes on.
  try {
    return self->Route(message, wParam, lParam);
  } catch (const std::exception& e) {
    ShowErrorBox(e.what());
  } catch (...) {
    ShowErrorBox("An unexpected error occurred.");
  }
  return 0;
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

namespace {
std::function<void()> idleHandler;
}  // namespace

bool RunLoop(const std::function<bool()>& done) {
  MSG msg;
  while (!done()) {
    while (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (idleHandler) idleHandler();
      if (done()) return false;
      WaitMessage();
    }
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return true;
    }
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return false;
}

int RunMessageLoop(const std::function<void()>& idle) {
  idleHandler = idle;
  RunLoop([] { return false; });
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the quit request put back above
  idleHandler = nullptr;
  return static_cast<int>(msg.wParam);
}

void ShowErrorBox(const std::string& text) {
  MessageBoxW(GetActiveWindow(), win32::Widen(text).c_str(), L"Vesperhollow", MB_OK | MB_ICONERROR);
}

}  // namespace vh::ui
