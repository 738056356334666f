#pragma once
// A menu that pops up at the pointer, as the notification icon's menu does.
#include <windows.h>

#include <string>

namespace vh::ui {

class Window;

class PopupMenu {
 public:
  PopupMenu();
  ~PopupMenu();
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  // An item that answers with `id` (not 0).
  void Add(UINT id, const std::string& text);
  void AddSeparator();
  void SetDefault(UINT id);
  void SetChecked(UINT id, bool checked);
  // Shows the menu at the pointer on behalf of `owner` and waits for a choice: the chosen item's
  // id, or 0 when the menu closed without one.
  UINT Track(Window& owner);

 private:
  HMENU menu_;
};

}  // namespace vh::ui
