#include "ui/controls.h"

#include <commctrl.h>

#include <stdexcept>

#include "platform/win32/wide.h"
#include "ui/window.h"

namespace vh::ui {

void Control::Create(Window& parent, const wchar_t* className, const std::string& text, DWORD style, int x, int y,
                     int width, int height, DWORD exStyle) {
  const int id = parent.Register(*this);
  Place(parent,
        CreateWindowExW(exStyle, className, win32::Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                        parent.Container(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                        nullptr),
        id, x, y, width, height);
}

void Control::Place(Window& parent, HWND hwnd, int id, int x, int y, int width, int height) {
  if (!hwnd) throw std::runtime_error("A control could not be created.");
  hwnd_ = hwnd;
  id_ = id;
  MoveWindow(hwnd_, parent.Scale(x), parent.Scale(y), parent.Scale(width), parent.Scale(height), FALSE);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(parent.Font()), FALSE);
}

void HostedControl::Create(Window& parent, const std::function<HWND(HWND, int)>& make, int x, int y, int width,
                           int height) {
  const int id = parent.Register(*this);
  Place(parent, make(parent.Container(), id), id, x, y, width, height);
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

void Label::Create(Window& parent, const std::string& text, int x, int y, int width, int height) {
  Control::Create(parent, L"STATIC", text, SS_LEFT | SS_NOPREFIX, x, y, width, height);
}

void GroupBox::Create(Window& parent, const std::string& text, int x, int y, int width, int height) {
  Control::Create(parent, L"BUTTON", text, BS_GROUPBOX, x, y, width, height);
}

void Button::Create(Window& parent, Kind kind, const std::string& text, int x, int y, int width, int height) {
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

void Edit::Create(Window& parent, const std::string& text, int x, int y, int width, int height, bool readOnly) {
  Control::Create(parent, L"EDIT", text, ES_AUTOHSCROLL | WS_TABSTOP | (readOnly ? ES_READONLY : 0), x, y, width,
                  height, WS_EX_CLIENTEDGE);
}

void ProgressBar::Create(Window& parent, int x, int y, int width, int height) {
  Control::Create(parent, PROGRESS_CLASSW, "", 0, x, y, width, height);
  SendMessageW(Handle(), PBM_SETRANGE32, 0, 100);
}

void Separator::Create(Window& parent, int x, int y, int width) {
  Control::Create(parent, L"STATIC", "", SS_ETCHEDHORZ, x, y, width, 2);
}

namespace {

// A page's panel hands its controls' commands and notifications on to the window that owns them.
LRESULT CALLBACK PanelProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_NOTIFY) return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void PageControl::Create(Window& parent, int x, int y, int width, int height, int tabWidth) {
  Control::Create(parent, WC_TABCONTROLW, "", TCS_FIXEDWIDTH | WS_CLIPSIBLINGS | WS_TABSTOP, x, y, width, height);
  SendMessageW(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(parent.Scale(tabWidth), parent.Scale(18)));
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(GetModuleHandleW(nullptr), L"VesperhollowPage", &wc)) {
    wc.lpfnWndProc = PanelProcedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"VesperhollowPage";
    RegisterClassExW(&wc);
  }
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

void PageControl::SetBounds(int x, int y, int width, int height) {
  MoveWindow(Handle(), x, y, width, height, TRUE);
  Layout();
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
