#pragma once
// Thin wrappers over the controls the program's windows use. A control is a child of its
// window, placed at 96-dpi pixel geometry; its window bounces command messages back to it.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace vh::ui {

class Window;
class Control;

// Where a new control goes: among the controls of `window`, as a child of `hwnd` (the window
// itself, one page of its page control, or a panel).
// A window or a panel stands for itself, so that callers pass it as they would the parent.
struct Container {
  Container(Window& w);
  Container(Control& panel);
  Container(Window& w, HWND inside) : window(w), hwnd(inside) {}
  Window& window;
  HWND hwnd;
};

class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  HWND Handle() const { return hwnd_; }
  int Id() const { return id_; }
  // True when the text changed.
  bool SetText(const std::string& text);
  std::string Text() const;
  void SetEnabled(bool enabled);
  bool Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
  void SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }
  void Focus() { SetFocus(hwnd_); }
  bool Focused() const { return GetFocus() == hwnd_; }
  void Repaint() { RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }
  // The help context number the "?" button and F1 show for this control.
  void SetHelpContext(DWORD context) { SetWindowContextHelpId(hwnd_, context); }
  // A command (WM_COMMAND) or notification (WM_NOTIFY) the control sent to its window.
  virtual void OnCommand(int /*code*/) {}
  virtual LRESULT OnNotify(NMHDR* /*header*/) { return 0; }
  // Mouse presses (any button) and moves over the control, at points of its client area. A
  // press handled here does not reach the control itself. Set them before WatchMouse.
  std::function<void(POINT at)> onMouseDown;
  std::function<void(POINT at)> onMouseMove;
  void WatchMouse();
  // Moves the control to 96-dpi pixels of its container, scaled to its window's dpi.
  void SetBounds(int x, int y, int width, int height);
  // A point of the control's client area on the screen.
  POINT ToScreen(POINT at) const {
    ClientToScreen(hwnd_, &at);
    return at;
  }
  Window& Owner() const { return *owner_; }
  // Its place in 96-dpi pixels, as last set.
  RECT Bounds() const { return bounds_; }

 protected:
  friend class Window;
  // Placed again at its window's new dpi.
  virtual void Rescale() { SetBounds(bounds_.left, bounds_.top, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top); }
  void Create(const Container& parent, const wchar_t* className, const std::string& text, DWORD style, int x, int y,
              int width, int height, DWORD exStyle = 0);
  void Place(Window& owner, HWND hwnd, int id, int x, int y, int width, int height);
  Window* owner_ = nullptr;

 private:
  HWND hwnd_ = nullptr;
  int id_ = 0;
  RECT bounds_{};
};

// Gives every control of a group (a box and what it holds) the group's help context.
inline void SetHelpContext(std::initializer_list<Control*> controls, DWORD context) {
  for (Control* c : controls) c->SetHelpContext(context);
}

// The point a mouse message carries (negative left of or above the window).
inline POINT PointOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

// Puts up the hourglass; returns the cursor it replaced, to be set again when the wait is over.
inline HCURSOR ShowHourglass() { return SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); }

// The hourglass while it lives; the cursor it replaced comes back after.
class Hourglass {
 public:
  Hourglass() : previous_(ShowHourglass()) {}
  ~Hourglass() { SetCursor(previous_); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;

 private:
  HCURSOR previous_;
};

// A control made by code of its own (a list view, a rich edit) and then placed like the others.
class HostedControl : public Control {
 public:
  using Maker = HWND (*)(HWND parent, int id);
  explicit HostedControl(Maker make) : make_(make) {}
  void Create(const Container& parent, int x, int y, int width, int height);

 private:
  Maker make_;
};

class Label : public Control {
 public:
  void Create(const Container& parent, const std::string& text, int x, int y, int width, int height);
};

class GroupBox : public Control {
 public:
  void Create(const Container& parent, const std::string& text, int x, int y, int width, int height);
};

// A push button, check box or radio button.
class Button : public Control {
 public:
  enum Kind { Push, DefaultPush, CheckBox, Radio };
  void Create(const Container& parent, Kind kind, const std::string& text, int x, int y, int width, int height);
  bool Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // Sets the state without running onClick.
  void SetChecked(bool checked) {
    if (Checked() != checked) SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  // Presses it as the user would: onClick runs.
  void Click() { SendMessageW(Handle(), BM_CLICK, 0, 0); }
  void OnCommand(int code) override;
  std::function<void()> onClick;
};

class Edit : public Control {
 public:
  void Create(const Container& parent, const std::string& text, int x, int y, int width, int height, bool readOnly);
};

class ProgressBar : public Control {
 public:
  void Create(const Container& parent, int x, int y, int width, int height);
  void SetPosition(int position) { SendMessageW(Handle(), PBM_SETPOS, position, 0); }
  int Position() const { return static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0)); }
};

// A horizontal line.
class Separator : public Control {
 public:
  void Create(const Container& parent, int x, int y, int width);
};

// The page control: tabs, and under them one panel a page that holds that page's controls
// (create them with the page's panel as their container).
class PageControl : public Control {
 public:
  void Create(const Container& parent, int x, int y, int width, int height, int tabWidth);
  int AddPage(const std::string& caption);
  HWND Panel(int page) const { return panels_.at(page); }
  void SetActivePage(int page);
  int ActivePage() const { return static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0)); }
  int PageCount() const { return static_cast<int>(panels_.size()); }
  // Moves the tabs (96-dpi pixels of the window) and the pages with them.
  void SetBounds(int x, int y, int width, int height) {
    Control::SetBounds(x, y, width, height);
    Layout();
  }
  LRESULT OnNotify(NMHDR* header) override;
  std::function<void(int page)> onChange;

 protected:
  void Rescale() override;

 private:
  void Layout();
  void ShowPage(int page);
  std::vector<HWND> panels_;
  int tabWidth_ = 0;
};

// A plain area that holds controls of its own (create them with the panel as their container),
// with a sunken edge or a raised one.
class Panel : public Control {
 public:
  enum Edge { Sunken, Raised };
  void Create(const Container& parent, int x, int y, int width, int height, Edge edge);
};

// The bar between two side-by-side controls: dragging it moves it sideways, and onMoved gets its
// new left edge (in 96-dpi pixels of its parent) once the button is released.
class Splitter : public Control {
 public:
  void Create(const Container& parent, int x, int y, int width, int height);
  std::function<void(int left)> onMoved;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  int grabX_ = -1;
};

// A hint for a control: the text appears when the pointer rests over the control.
class Hint {
 public:
  void Create(Control& owner);
  void SetText(const std::string& text);
  std::string Text() const { return text_; }
  // While off, no hint appears.
  void SetActive(bool active);
  bool Active() const { return active_; }
  HWND Handle() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  std::string text_;
  bool active_ = false;
};

// A timer of the window's; its handler runs on the window's thread.
class Timer {
 public:
  void Create(Window& parent, UINT intervalMs);
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  std::function<void()> onTimer;

 private:
  friend class Window;
  HWND owner_ = nullptr;
  UINT_PTR id_ = 0;
  UINT interval_ = 0;
  bool enabled_ = false;
};

}  // namespace vh::ui
