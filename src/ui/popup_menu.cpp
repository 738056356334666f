#include "ui/popup_menu.h"

#include <stdexcept>

#include "platform/win32/wide.h"
#include "ui/window.h"

namespace vh::ui {

PopupMenu::PopupMenu() : menu_(CreatePopupMenu()) {
  if (!menu_) throw std::runtime_error("A menu could not be created.");
}

PopupMenu::~PopupMenu() { DestroyMenu(menu_); }

void PopupMenu::Add(UINT id, const std::string& text) { AppendMenuW(menu_, MF_STRING, id, win32::Widen(text).c_str()); }

void PopupMenu::AddSeparator() { AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr); }

void PopupMenu::SetDefault(UINT id) { SetMenuDefaultItem(menu_, id, FALSE); }

void PopupMenu::SetChecked(UINT id, bool checked) {
  CheckMenuItem(menu_, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

UINT PopupMenu::Track(Window& owner) {
  POINT at;
  if (!GetCursorPos(&at)) return 0;
  // The menu closes on a click elsewhere only when its owner is in front.
  owner.BringToFront();
  const UINT item = TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0,
                                   owner.Handle(), nullptr);
  PostMessageW(owner.Handle(), WM_NULL, 0, 0);  // lets the menu close when the user clicks elsewhere
  return item;
}

}  // namespace vh::ui
