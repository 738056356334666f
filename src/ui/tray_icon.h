#pragma once
// The program's icon in the notification area, animated while a backup runs.
#include <windows.h>
#include <shellapi.h>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace vh::ui {

// The message the icon sends its window on mouse events (WM_APP + 100).
constexpr UINT kTrayCallbackMessage = 0x8064;
constexpr int kTrayFrames = 12;

// The animation thread: frames 1, 2, ... 11, 0, ... every 50 ms until asked to stop, which it
// notices within one step. It only reads the frames and modifies the tray icon.
class TAnimatedIcon {
 public:
  TAnimatedIcon(const std::array<HICON, 12>& frames, std::function<void(HICON)> show);
  ~TAnimatedIcon();  // asks the thread to end and waits for it
  TAnimatedIcon(const TAnimatedIcon&) = delete;
  TAnimatedIcon& operator=(const TAnimatedIcon&) = delete;

 private:
  void Execute();
  const std::array<HICON, 12>& frames_;
  std::function<void(HICON)> show_;
  std::atomic<bool> terminated_{false};
  std::thread thread_;
};

class TTrayIcon {
 public:
  // Loads the twelve frames at the small-icon size: the first is the still icon, all of them the
  // animation.
  explicit TTrayIcon(HWND owner);
  ~TTrayIcon();
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  // Adds the still icon, or puts it back when it is there already.
  void ShowIcon();
  void RemoveIcon();
  void StartAnimation();
  // Waits for the animation to end, then shows the still icon again.
  void StopAnimation();
  bool Animating() const { return animator_ != nullptr; }
  // The text shown while the pointer rests on the icon; cut to what the tip holds.
  void SetTip(const std::string& tip);
  // A notification from the icon; clicking it sends NIN_BALLOONUSERCLICK. False when the shell
  // took none.
  bool ShowBalloon(const std::string& title, const std::string& text);

 private:
  bool NotifyTray(DWORD action, HICON icon, UINT flags, const std::function<void(NOTIFYICONDATAW&)>& more = {});

  HWND owner_;
  std::wstring tip_ = L"Vesperhollow";
  std::array<HICON, kTrayFrames> frames_;
  std::unique_ptr<TAnimatedIcon> animator_;
};

// The icon animated for the life of the scope; the still icon is back however the scope ends.
class TrayAnimation {
 public:
  explicit TrayAnimation(TTrayIcon& icon) : icon_(icon) { icon_.StartAnimation(); }
  ~TrayAnimation() { icon_.StopAnimation(); }
  TrayAnimation(const TrayAnimation&) = delete;
  TrayAnimation& operator=(const TrayAnimation&) = delete;

 private:
  TTrayIcon& icon_;
};

}  // namespace vh::ui
