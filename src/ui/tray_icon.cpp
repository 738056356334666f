#include "ui/tray_icon.h"

#include <shellapi.h>

namespace vh::ui {

TAnimatedIcon::TAnimatedIcon(const std::array<HICON, 12>& frames, std::function<void(HICON)> show)
    : frames_(frames), show_(std::move(show)), thread_([this] { Execute(); }) {}

TAnimatedIcon::~TAnimatedIcon() {
  terminated_ = true;
  thread_.join();
}

void TAnimatedIcon::Execute() {
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
  size_t frame = 0;
  while (!terminated_) {
    frame = (frame + 1) % frames_.size();
    show_(frames_[frame]);
    Sleep(50);
  }
}

TTrayIcon::TTrayIcon(HWND owner, const std::array<HICON, kTrayFrames>& frames) : owner_(owner), frames_(frames) {}

TTrayIcon::~TTrayIcon() = default;

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
  if (animator_) return;
  animator_ = std::make_unique<TAnimatedIcon>(frames_, [this](HICON frame) { NotifyTray(NIM_MODIFY, frame); });
}

void TTrayIcon::StopAnimation() {
  animator_.reset();  // waits for the thread: the two never change the icon at once
  ShowIcon();
}

}  // namespace vh::ui
