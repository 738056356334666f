// Vesperhollow's entry point.
#include <windows.h>
#include <commctrl.h>

// WinMain rather than wWinMain, so the link needs no -municode; whatever wants the command line
// reads it with GetCommandLineW, so nothing is lost to the ANSI code page.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Registers the window classes of the common controls the program's windows use. With the
  // manifest asking for version 6, these are the themed ones.
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS |
                   ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES;
  if (!InitCommonControlsEx(&controls)) return 1;
  return 0;
}
