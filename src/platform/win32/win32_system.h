#pragma once
// The real services, installed for as long as the object lives: what the program and its tools
// run on.
#include "platform/system.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_folder_watch.h"
#include "platform/win32/win32_identity.h"
#include "platform/win32/win32_locale_clock.h"
#include "platform/win32/win32_message_boxes.h"

namespace vh::win32 {

struct Win32System {
  Win32FileSystem files;
  Win32Identity identity;
  Win32MessageBoxes boxes;
  Win32LocaleClock locale;
  Win32FolderWatch watch;  // not part of System: handed to whoever narrows the timed runs
  SystemScope scope{System{&files, &identity, &boxes, &locale}};
};

}  // namespace vh::win32
