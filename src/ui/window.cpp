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
  // The caption's icon drawn at its own size, not shrunk from the large one.
  wc.hIconSm = static_cast<HICON>(LoadImageW(wc.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  wc.lpszClassName = className;
  if (!RegisterClassExW(&wc)) throw std::runtime_error("The window class could not be registered.");
}

// The system's message font at the given dots per inch. Asked for at that dpi, it comes at its
// size already: scaling it again would make every text too large for its control.
HFONT CreateMessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    // Systems before the per-monitor calls give it at the system's dpi.
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight =
        MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(GetDpiForSystem()));
  }
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

Box WorkArea(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  const RECT& w = info.rcWork;
  return {w.left, w.top, w.right - w.left, w.bottom - w.top};
}

}  // namespace

Window::~Window() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (font_) DeleteObject(font_);
}

void Window::CreateCentred(const wchar_t* className, DWORD style, DWORD exStyle, const std::string& caption,
                           int width, int height) {
  RegisterOnce(className, &Window::Procedure);
  dpi_ = GetDpiForSystem();
  CreateWindowExW(exStyle, className, win32::Widen(caption).c_str(), style, 0, 0, 0, 0, nullptr, nullptr,
                  GetModuleHandleW(nullptr), this);
  if (!hwnd_) throw std::runtime_error("The window could not be created.");
  if (const UINT dpi = GetDpiForWindow(hwnd_)) dpi_ = dpi;
  const SIZE outer = OuterSize(width, height);
  const Box work = WorkArea(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY));
  SetWindowPos(hwnd_, nullptr, work.left + (work.width - outer.cx) / 2, work.top + (work.height - outer.cy) / 2,
               outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  font_ = CreateMessageFont(dpi_);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

SIZE Window::OuterSize(int width, int height) const {
  RECT frame{0, 0, Scale(width), Scale(height)};
  AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)), dpi_);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

Box Window::Place() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Window::PlaceOnScreen(const Box& stored, int minWidth) {
  const RECT r{stored.left, stored.top, stored.left + stored.width, stored.top + stored.height};
  HMONITOR monitor = MonitorFromRect(&r, MONITOR_DEFAULTTONULL);
  const Box screen = monitor ? WorkArea(monitor) : Box{};
  const Box primary = WorkArea(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY));
  const Box place = PlaceStoredWindow(stored, minWidth, monitor ? &screen : nullptr, primary);
  SetWindowPos(hwnd_, nullptr, place.left, place.top, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Window::ClientSize(HWND hwnd) const {
  RECT client{};
  GetClientRect(hwnd, &client);
  return {Unscale(client.right), Unscale(client.bottom)};
}

void Window::ApplyDpi(UINT dpi) {
  if (!dpi || dpi == dpi_) return;
  const SIZE client = ClientSize(hwnd_);
  dpi_ = dpi;
  HFONT old = font_;
  font_ = CreateMessageFont(dpi_);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  for (auto& [id, control] : controls_) {
    if (reinterpret_cast<HFONT>(SendMessageW(control->Handle(), WM_GETFONT, 0, 0)) == old) {
      SendMessageW(control->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    control->Rescale();
  }
  if (old) DeleteObject(old);
  const SIZE outer = OuterSize(client.cx, client.cy);
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  DpiChanged();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

Window* Window::FromHandle(HWND hwnd) {
  if (!hwnd || GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Window::Procedure)) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
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
  // A modal window's Escape and close box cancel it; the window is kept for its next showing.
  if (modal_ && ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE)) {
    EndModal(IDCANCEL);
    return 0;
  }
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
    case WM_GETMINMAXINFO:
      if (minTrack_.cy) {
        const SIZE least = OuterSize(minTrack_.cx, minTrack_.cy);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {least.cx, least.cy};
        info->ptMaxTrackSize.y = least.cy;
        return 0;
      }
      break;
    case WM_DPICHANGED: {
      // Placed where the system suggests, then sized from the design at the new dpi.
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyDpi(HIWORD(wParam));
      return 0;
    }
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

bool TranslateForWindow(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (!root) return false;
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    if (Window* window = Window::FromHandle(root); window && window->PreTranslateKey(msg)) return true;
  }
  return IsDialogMessageW(root, &msg) != FALSE;
}

void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (TranslateForWindow(msg)) continue;
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
    if (TranslateForWindow(msg)) continue;
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

std::string UpperCase(const std::string& text) {
  std::wstring wide = win32::Widen(text);
  CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return win32::Narrow(wide);
}

void ShowErrorBox(const std::string& text) {
  MessageBoxW(GetActiveWindow(), win32::Widen(text).c_str(), L"Vesperhollow", MB_OK | MB_ICONERROR);
}

}  // namespace vh::ui
