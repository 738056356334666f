#include "ui/tray_icon.h"

#include <shellapi.h>

#include "platform/win32/wide.h"
#include "resources/resource_ids.h"

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

TTrayIcon::TTrayIcon(HWND owner) : owner_(owner) {
  for (int frame = 0; frame < kTrayFrames; ++frame) {
    frames_[frame] = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TRAY0 + frame),
                                                   IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  }
}

TTrayIcon::~TTrayIcon() = default;

bool TTrayIcon::NotifyTray(DWORD action, HICON icon, UINT flags,
                           const std::function<void(NOTIFYICONDATAW&)>& more) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner_;
  data.uID = 0;
  data.uFlags = flags;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon;
  // Only the GUI thread changes the tip, never while the animation runs.
  if (flags & NIF_TIP) lstrcpynW(data.szTip, tip_.c_str(), ARRAYSIZE(data.szTip));
  if (more) more(data);
  return Shell_NotifyIconW(action, &data) != FALSE;
}

void TTrayIcon::ShowIcon() {
  NotifyTray(NIM_ADD, frames_[0], NIF_MESSAGE | NIF_ICON | NIF_TIP);
  NotifyTray(NIM_MODIFY, frames_[0], NIF_MESSAGE | NIF_ICON | NIF_TIP);
}

void TTrayIcon::RemoveIcon() { NotifyTray(NIM_DELETE, frames_[0], 0); }

void TTrayIcon::SetTip(const std::string& tip) {
  tip_ = win32::Widen(tip);
  if (!animator_) NotifyTray(NIM_MODIFY, frames_[0], NIF_TIP);
}

bool TTrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
  return NotifyTray(NIM_MODIFY, nullptr, NIF_INFO, [&](NOTIFYICONDATAW& data) {
    data.dwInfoFlags = NIIF_WARNING;
    lstrcpynW(data.szInfoTitle, win32::Widen(title).c_str(), ARRAYSIZE(data.szInfoTitle));
    lstrcpynW(data.szInfo, win32::Widen(text).c_str(), ARRAYSIZE(data.szInfo));
  });
}

void TTrayIcon::StartAnimation() {
  if (animator_) return;
  // The frames change the icon alone: the tip and the callback stay as they are.
  animator_ = std::make_unique<TAnimatedIcon>(frames_, [this](HICON frame) { NotifyTray(NIM_MODIFY, frame, NIF_ICON); });
}

void TTrayIcon::StopAnimation() {
  animator_.reset();  // waits for the thread: the two never change the icon at once
  ShowIcon();
}

}  // namespace vh::ui
