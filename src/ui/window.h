#pragma once
// The base of the program's windows: owns its HWND, finds itself again from the window's user
// data and hands every message to a virtual handler; commands, notifications and timer ticks
// go on to the control or timer they belong to.
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "control/window_place.h"

namespace vh::ui {

class Control;
class Timer;

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }
  HFONT Font() const { return font_; }
  // Pixels at 96 dots per inch, in the window's own dots per inch, and back.
  int Scale(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }
  // Rounded down, so that what is scaled back never reaches past the pixels measured.
  int Unscale(int pixels) const { return pixels * 96 / static_cast<int>(dpi_); }
  UINT Dpi() const { return dpi_; }
  // The outer size, in pixels, of this window with a client area of `width` x `height` 96-dpi pixels.
  SIZE OuterSize(int width, int height) const;
  // The client area of the window or of a window inside it, in 96-dpi pixels.
  SIZE ClientSize(HWND hwnd) const;
  // Gives the window an owner: it then stays above it and has no taskbar button of its own.
  void SetOwner(HWND owner) { SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner)); }
  // The width of a text in the window's font, in pixels.
  int TextWidth(const std::string& text) const;
  bool Visible() const { return IsWindowVisible(hwnd_) != FALSE; }
  void Show() { ShowWindow(hwnd_, SW_SHOW); }
  void Hide() { ShowWindow(hwnd_, SW_HIDE); }
  void BringToFront() { SetForegroundWindow(hwnd_); }
  // A disabled window takes no input, nor do its controls.
  void SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }
  // Asks the window to close, as the system would.
  void Close() { SendMessageW(hwnd_, WM_CLOSE, 0, 0); }
  // The help topic of the window itself, for a control that has none.
  void SetWindowHelp(DWORD context) { SetWindowContextHelpId(hwnd_, context); }
  // Paints the window and every control in it again.
  void RepaintAll() { RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN); }
  // The window's outer place on the screen, in pixels.
  Box Place() const;
  // Moves the window to a place once stored, brought back onto the screen it was on (or the main
  // one when that screen is gone) and at least `minWidth` pixels wide.
  void PlaceOnScreen(const Box& stored, int minWidth);
  // While the user sizes the window, its client area stays at least `minWidth` wide and exactly
  // `height` high (96-dpi pixels).
  void SetSizeLimits(int minWidth, int height) { minTrack_ = {minWidth, height}; }

  // Shows the window and runs a message loop until EndModal; other top-level windows of the
  // thread are disabled meanwhile. Returns the code given to EndModal.
  int ShowModal();
  void EndModal(int result);

 protected:
  // A top-level window of a class registered on first use, its client area `width` x `height`
  // (96-dpi pixels), centred on the screen and hidden.
  void CreateCentred(const wchar_t* className, DWORD style, DWORD exStyle, const std::string& caption, int width,
                     int height);
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Makes the window behave as a dialog: Enter presses `button`, and the control that had the
  // focus gets it back when the window is activated again (the default button at first).
  void SetDefaultButton(HWND button) { defaultButton_ = focus_ = button; }
  void SetDialogFocus(HWND control) { focus_ = control; }
  HWND DefaultButton() const { return defaultButton_; }
  // The window moved to a screen of other dots per inch: its font and controls have been made
  // again at the new size; a window lays out here what it places by rules of its own.
  virtual void DpiChanged() {}
  // A key message on its way to a control of this window; true when the window has handled it.
  virtual bool PreTranslateKey(const MSG& /*msg*/) { return false; }

 private:
  friend class Control;
  friend class HostedControl;
  friend class Timer;
  int Register(Control& control);
  void ApplyDpi(UINT dpi);
  static Window* FromHandle(HWND hwnd);
  friend bool TranslateForWindow(MSG& msg);
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Route(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  SIZE minTrack_{};
  HFONT font_ = nullptr;
  UINT dpi_ = 96;
  std::map<int, Control*> controls_;
  std::map<UINT_PTR, Timer*> timers_;
  int nextId_ = 100;
  HWND defaultButton_ = nullptr;
  HWND focus_ = nullptr;
  bool modal_ = false;
  int modalResult_ = 0;
};

// True while the key (a virtual-key code, mouse buttons too) is held down.
inline bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }
// The text in capitals, as the system's own comparisons of names see it.
std::string UpperCase(const std::string& text);
// A message number of its own for a name the whole system shares.
inline UINT SharedMessage(const wchar_t* name) { return RegisterWindowMessageW(name); }

// What a message loop does with a message before dispatching it: the window's own keys, then
// the dialog keys (Tab, Enter, Esc, mnemonics). True when the message has been dealt with.
bool TranslateForWindow(MSG& msg);
// Lets every pending message of the thread run; a quit request is put back for the main loop.
void ProcessPendingMessages();
// The program's main loop: runs `idle` whenever the queue falls empty, here and in the modal
// loops inside it; returns the code of WM_QUIT.
int RunMessageLoop(const std::function<void()>& idle);
// Dispatches messages, running the idle work when the queue falls empty, until `done`; true
// when it met WM_QUIT, which it leaves in the queue.
bool RunLoop(const std::function<bool()>& done);
// The box for an error that escaped an event handler; the program goes on after it.
void ShowErrorBox(const std::string& text);

}  // namespace vh::ui
