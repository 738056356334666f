#pragma once
#include <string>

namespace vh {

// Style values and answers as the platform codes them.
constexpr unsigned kMbOk = 0x0, kMbOkCancel = 0x1, kMbAbortRetryIgnore = 0x2, kMbYesNoCancel = 0x3,
                   kMbYesNo = 0x4, kMbRetryCancel = 0x5;
constexpr unsigned kMbIconHand = 0x10, kMbIconQuestion = 0x20, kMbIconExclamation = 0x30,
                   kMbIconInformation = 0x40;
constexpr unsigned kMbDefButton2 = 0x100;
constexpr int kIdOk = 1, kIdCancel = 2, kIdAbort = 3, kIdRetry = 4, kIdIgnore = 5, kIdYes = 6, kIdNo = 7;

// The caption of every box the program shows.
inline const char* const kAppCaption = "Vesperhollow";

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows a modal box and returns the answer code.
  virtual int Show(const std::string& text, const std::string& caption, unsigned style) = 0;
};

}  // namespace vh
