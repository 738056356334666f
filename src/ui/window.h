#pragma once
// The base of the program's windows: owns its HWND, finds itself again from the window's user
// data and hands every message to a virtual handler.
#include <windows.h>

#include <string>

namespace vh::ui {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }
  // Pixels at 96 dots per inch, in the window's own dots per inch.
  int Scale(int pixels) const;

 protected:
  // A top-level window of a class registered on first use, its client area `width` x `height`
  // (96-dpi pixels), centred on the screen and hidden.
  void CreateCentred(const wchar_t* className, DWORD style, DWORD exStyle, const std::string& caption, int width,
                     int height);
  // A child control at 96-dpi pixel geometry, in the window's font.
  HWND CreateControl(const wchar_t* className, const std::string& text, DWORD style, int x, int y, int width,
                     int height, int id);
  HFONT Font() const { return font_; }
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
};

// Lets every pending message of the thread run; a quit request is put back for the main loop.
void ProcessPendingMessages();

}  // namespace vh::ui
