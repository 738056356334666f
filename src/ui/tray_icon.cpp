#include "ui/tray_icon.h"

#include <shellapi.h>

namespace vh::ui {

TTrayIcon::TTrayIcon(HWND owner, const std::array<HICON, kTrayFrames>& frames) : owner_(owner), frames_(frames) {}

TTrayIcon::~TTrayIcon() {
  if (animator_.joinable()) {
    stop_ = true;
    animator_.join();
  }
}

void TTrayIcon::NotifyTray(DWORD action, HICON icon) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner_;
  data.uID = 0;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon;
  lstrcpynW(data.szTip, L"Vesperhollow", ARRAYSIZE(data.szTip));
  Shell_NotifyIconW(action, &data);
}

void TTrayIcon::ShowIcon() {
  NotifyTray(NIM_ADD, frames_[0]);
  NotifyTray(NIM_MODIFY, frames_[0]);
}

void TTrayIcon::RemoveIcon() { NotifyTray(NIM_DELETE, frames_[0]); }

void TTrayIcon::StartAnimation() {
  if (animator_.joinable()) return;
  stop_ = false;
  animator_ = std::thread([this] { Animate(); });
}

void TTrayIcon::StopAnimation() {
  if (animator_.joinable()) {
    stop_ = true;
    animator_.join();
  }
  ShowIcon();
}

void TTrayIcon::Animate() {
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
  int frame = 0;
  while (!stop_) {
    frame = (frame + 1) % kTrayFrames;
    NotifyTray(NIM_MODIFY, frames_[frame]);
    Sleep(50);
  }
}

}  // namespace vh::ui
