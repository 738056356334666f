#pragma once
// Drives a modal window from inside its own message loop: a script runs once the window is up,
// and what it does goes through the real controls and messages. And a measure of drawn text.
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "platform/win32/wide.h"

#include "ui/window.h"

namespace vh::test {

// What ShowWith returns when the script has run and the window is still open.
constexpr int kStillOpen = -100;

namespace detail {
inline std::map<UINT_PTR, std::function<void()>>& PendingSteps() {
  static std::map<UINT_PTR, std::function<void()>> steps;
  return steps;
}
inline void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD) {
  // One-shot: a step that opens a nested loop must not run again from inside it.
  KillTimer(nullptr, id);
  auto it = PendingSteps().find(id);
  if (it == PendingSteps().end()) return;
  std::function<void()> step = std::move(it->second);
  PendingSteps().erase(it);
  step();
}
}  // namespace detail

// Runs `step` from whichever message loop of this thread runs next (a window's or a shell dialog's).
inline void Soon(std::function<void()> step) {
  const UINT_PTR id = SetTimer(nullptr, 0, 0, &detail::RunStep);
  detail::PendingSteps()[id] = std::move(step);
}

// Runs `step` with the first visible dialog-class window owned by `owner`, once it is up.
inline void WhenDialogOpens(HWND owner, std::function<void(HWND)> step) {
  Soon([owner, step] {
    struct Search {
      HWND owner, found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM p) {
          auto* s = reinterpret_cast<Search*>(p);
          wchar_t cls[16] = L"";
          GetClassNameW(w, cls, 16);
          if (IsWindowVisible(w) && GetWindow(w, GW_OWNER) == s->owner && lstrcmpW(cls, L"#32770") == 0) {
            s->found = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found) step(search.found);
    else WhenDialogOpens(owner, step);
  });
}

// Shows `window` modally and runs `script` once it is up; returns the modal result, or
// kStillOpen when the script left the window open.
inline int ShowWith(ui::Window& window, std::function<void()> script) {
  Soon([&window, script] {
    script();
    // Runs only if the loop is still going: a closed window's loop takes no further message.
    Soon([&window] { window.EndModal(kStillOpen); });
  });
  const int result = window.ShowModal();
  for (const auto& [id, step] : detail::PendingSteps()) KillTimer(nullptr, id);
  detail::PendingSteps().clear();
  return result;
}

// The width of `text` in the font `control` draws with.
inline int TextWidth(HWND control, const std::string& text) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  const std::wstring wide = win32::Widen(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return size.cx;
}

}  // namespace vh::test
