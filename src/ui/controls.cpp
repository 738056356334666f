#include "ui/controls.h"

#include <commctrl.h>

#include <stdexcept>

#include "platform/win32/wide.h"
#include "ui/window.h"

namespace vh::ui {

Container::Container(Window& w) : window(w), hwnd(w.Handle()) {}

Container::Container(Control& panel) : window(panel.Owner()), hwnd(panel.Handle()) {}

void Control::Create(const Container& parent, const wchar_t* className, const std::string& text, DWORD style, int x,
                     int y, int width, int height, DWORD exStyle) {
  const int id = parent.window.Register(*this);
  Place(parent.window,
        CreateWindowExW(exStyle, className, win32::Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                        parent.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                        nullptr),
        id, x, y, width, height);
}

void Control::Place(Window& owner, HWND hwnd, int id, int x, int y, int width, int height) {
  if (!hwnd) throw std::runtime_error("A control could not be created.");
  hwnd_ = hwnd;
  id_ = id;
  owner_ = &owner;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(owner.Font()), FALSE);
  SetBounds(x, y, width, height);
}

void Control::SetBounds(int x, int y, int width, int height) {
  bounds_ = {x, y, x + width, y + height};
  const Window& w = *owner_;
  MoveWindow(hwnd_, w.Scale(x), w.Scale(y), w.Scale(width), w.Scale(height), TRUE);
}

void HostedControl::Create(const Container& parent, int x, int y, int width, int height) {
  const int id = parent.window.Register(*this);
  Place(parent.window, make_(parent.hwnd, id), id, x, y, width, height);
}

// Unchanged texts and states are not set again: the idle refresh sets them all the time, and
// each change would repaint and so wake the idle refresh once more.
bool Control::SetText(const std::string& text) {
  if (Text() == text) return false;
  SetWindowTextW(hwnd_, win32::Widen(text).c_str());
  return true;
}

std::string Control::Text() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return win32::Narrow(text);
}

void Control::SetEnabled(bool enabled) {
  if (Enabled() != enabled) EnableWindow(hwnd_, enabled);
}

void Label::Create(const Container& parent, const std::string& text, int x, int y, int width, int height) {
  Control::Create(parent, L"STATIC", text, SS_LEFT | SS_NOPREFIX, x, y, width, height);
}

void GroupBox::Create(const Container& parent, const std::string& text, int x, int y, int width, int height) {
  Control::Create(parent, L"BUTTON", text, BS_GROUPBOX, x, y, width, height);
}

void Button::Create(const Container& parent, Kind kind, const std::string& text, int x, int y, int width, int height) {
  static const DWORD kStyles[] = {BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_AUTOCHECKBOX, BS_RADIOBUTTON};
  // A radio button reached by Tab would be chosen by the focus alone, so only a click chooses.
  Control::Create(parent, L"BUTTON", text, kStyles[kind] | (kind == Radio ? 0 : WS_TABSTOP), x, y, width, height);
}

void Button::OnCommand(int code) {
  if (code != BN_CLICKED) return;
  // Radio buttons are checked by their handlers, so a click on the checked one does nothing.
  if ((GetWindowLongW(Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_RADIOBUTTON) {
    if (Checked()) return;
    SetChecked(true);
  }
  if (onClick) onClick();
}

void Edit::Create(const Container& parent, const std::string& text, int x, int y, int width, int height,
                  bool readOnly) {
  // A box the user cannot change is passed over by Tab.
  Control::Create(parent, L"EDIT", text, ES_AUTOHSCROLL | (readOnly ? ES_READONLY : WS_TABSTOP), x, y, width, height,
                  WS_EX_CLIENTEDGE);
}

void ProgressBar::Create(const Container& parent, int x, int y, int width, int height) {
  Control::Create(parent, PROGRESS_CLASSW, "", 0, x, y, width, height);
  SendMessageW(Handle(), PBM_SETRANGE32, 0, 100);
}

void Separator::Create(const Container& parent, int x, int y, int width) {
  Control::Create(parent, L"STATIC", "", SS_ETCHEDHORZ, x, y, width, 2);
}

namespace {

LRESULT CALLBACK MouseProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* control = reinterpret_cast<Control*>(data);
  const POINT at = PointOf(lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (control->onMouseDown) {
        SetFocus(hwnd);
        control->onMouseDown(at);
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (control->onMouseMove) control->onMouseMove(at);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &MouseProcedure, 1);
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

void Control::WatchMouse() { SetWindowSubclass(hwnd_, &MouseProcedure, 1, reinterpret_cast<DWORD_PTR>(this)); }

namespace {

// A page's panel hands its controls' commands and notifications on to the window that owns them.
LRESULT CALLBACK PanelProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_NOTIFY)
    return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void RegisterClassOnce(const wchar_t* name, WNDPROC procedure, LPCWSTR cursor) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, cursor);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

void PageControl::Create(const Container& parent, int x, int y, int width, int height, int tabWidth) {
  Control::Create(parent, WC_TABCONTROLW, "", TCS_FIXEDWIDTH | WS_CLIPSIBLINGS | WS_TABSTOP, x, y, width, height);
  tabWidth_ = tabWidth;
  RegisterClassOnce(L"VesperhollowPage", PanelProcedure, IDC_ARROW);
  Rescale();
}

void PageControl::Rescale() {
  Control::Rescale();
  // The tabs are as high as their text needs at this dpi.
  SendMessageW(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(owner_->Scale(tabWidth_), owner_->Scale(20)));
  Layout();
}

void Panel::Create(const Container& parent, int x, int y, int width, int height, Edge edge) {
  RegisterClassOnce(L"VesperhollowPage", PanelProcedure, IDC_ARROW);
  Control::Create(parent, L"VesperhollowPage", "", WS_CLIPSIBLINGS, x, y, width, height,
                  WS_EX_CONTROLPARENT | (edge == Sunken ? WS_EX_STATICEDGE : WS_EX_DLGMODALFRAME));
}

void Splitter::Create(const Container& parent, int x, int y, int width, int height) {
  RegisterClassOnce(L"VesperhollowSplitter", &Splitter::Procedure, IDC_SIZEWE);
  Control::Create(parent, L"VesperhollowSplitter", "", 0, x, y, width, height);
  SetWindowLongPtrW(Handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

namespace {

// Where a window is, in its parent's client area.
RECT RectInParent(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

LRESULT CALLBACK Splitter::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Splitter*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self) {
    switch (message) {
      case WM_LBUTTONDOWN:
        self->grabX_ = PointOf(lParam).x;
        SetCapture(hwnd);
        return 0;
      case WM_MOUSEMOVE:
        if (self->grabX_ >= 0 && GetCapture() == hwnd) {
          // The bar follows the pointer; the panes follow once it is let go.
          const RECT r = RectInParent(hwnd);
          SetWindowPos(hwnd, nullptr, r.left + PointOf(lParam).x - self->grabX_, r.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
      case WM_LBUTTONUP:
        if (self->grabX_ >= 0) {
          self->grabX_ = -1;
          ReleaseCapture();
          if (self->onMoved) self->onMoved(self->owner_->Unscale(RectInParent(hwnd).left));
        }
        return 0;
      case WM_CAPTURECHANGED:
        self->grabX_ = -1;
        return 0;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Hint::Create(Control& owner) {
  owner_ = owner.Handle();
  hwnd_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) throw std::runtime_error("A hint could not be created.");
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner_;
  tool.uId = reinterpret_cast<UINT_PTR>(owner_);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(hwnd_, TTM_SETMAXTIPWIDTH, 0, 600);  // long paths break over lines
  SendMessageW(hwnd_, TTM_ACTIVATE, FALSE, 0);
}

void Hint::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  std::wstring wide = win32::Widen(text);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = owner_;
  tool.uId = reinterpret_cast<UINT_PTR>(owner_);
  tool.lpszText = wide.data();
  SendMessageW(hwnd_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Hint::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  SendMessageW(hwnd_, TTM_ACTIVATE, active, 0);
}

int PageControl::AddPage(const std::string& caption) {
  std::wstring text = win32::Widen(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  const int page = static_cast<int>(panels_.size());
  SendMessageW(Handle(), TCM_INSERTITEMW, page, reinterpret_cast<LPARAM>(&item));
  HWND panel = CreateWindowExW(WS_EX_CONTROLPARENT, L"VesperhollowPage", L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                               GetParent(Handle()), nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!panel) throw std::runtime_error("A page could not be created.");
  panels_.push_back(panel);
  Layout();
  return page;
}

void PageControl::Layout() {
  RECT area;
  GetWindowRect(Handle(), &area);
  MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&area), 2);
  RECT inner = area;
  TabCtrl_AdjustRect(Handle(), FALSE, &inner);
  for (HWND panel : panels_) {
    SetWindowPos(panel, HWND_TOP, inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top,
                 SWP_NOACTIVATE);
  }
}

void PageControl::SetActivePage(int page) {
  SendMessageW(Handle(), TCM_SETCURSEL, page, 0);
  ShowPage(page);
}

void PageControl::ShowPage(int page) {
  for (size_t p = 0; p < panels_.size(); ++p) ShowWindow(panels_[p], static_cast<int>(p) == page ? SW_SHOW : SW_HIDE);
  if (onChange) onChange(page);
}

LRESULT PageControl::OnNotify(NMHDR* header) {
  if (header->code == TCN_SELCHANGE) ShowPage(ActivePage());
  return 0;
}

void Timer::Create(Window& parent, UINT intervalMs) {
  owner_ = parent.Handle();
  interval_ = intervalMs;
  id_ = static_cast<UINT_PTR>(parent.timers_.size() + 1);
  parent.timers_[id_] = this;
}

// Each change of state restarts the timer's phase; setting the state it has changes nothing.
void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled) SetTimer(owner_, id_, interval_, nullptr);
  else KillTimer(owner_, id_);
}

}  // namespace vh::ui
