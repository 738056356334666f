#pragma once
// The shell's folder picker: the Explorer-style one, or the older tree of folders where the
// system has not got it.
#include <windows.h>

#include <string>

namespace vh::ui {

// The file-system path of the folder the user chose, or empty when the user cancelled or chose
// an item that is no folder on disk. `start` is where the picker opens, when it is a folder.
std::string PickFolder(HWND owner, const std::string& title, const std::string& start);

}  // namespace vh::ui
