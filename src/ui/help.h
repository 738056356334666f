#pragma once
// The program's help: the WinHelp file with its viewer where both are present, otherwise the
// HTML help set shipped beside the program, one page a context number, opened in the browser.
#include <windows.h>

#include <functional>
#include <string>

namespace vh::ui {

class Help {
 public:
  Help();

  // The contents, and the topic of one context number.
  void ShowContents(HWND owner) const;
  void ShowTopic(HWND owner, DWORD context) const;

  // Where the help is looked for: the program's folder, and the folder of the viewer.
  std::string programFolder;
  std::string windowsFolder;
  // Opens a page in the user's browser; tests watch it instead.
  std::function<void(HWND owner, const std::string& page)> openPage;

  // The page of a context number (0 for the contents) in the HTML help set.
  std::string PageOf(DWORD context) const;

 private:
  bool WinHelpPresent() const;
  void Open(HWND owner, DWORD context) const;
};

// The context number shown for a help request: that of the control under the point asked about
// (the smallest one there that has a topic, so that a group box or a label gives its own), else
// that of the window the request came from, else `fallback`.
DWORD ContextAt(HWND root, const HELPINFO& request, DWORD fallback);

}  // namespace vh::ui
