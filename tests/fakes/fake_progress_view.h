#pragma once
// A progress window that records what it was told; pumping messages runs the test's script.
#include <functional>
#include <string>
#include <vector>

#include "platform/progress_view.h"

namespace vh::test {

class FakeProgressView : public ProgressView {
 public:
  std::string caption, label;
  std::vector<std::string> labels;
  std::vector<int> positions;
  bool visible = false;
  int pumps = 0;
  // The clock moves on by `tickStep` milliseconds at every reading: by default far enough that
  // every pump and every label is let through.
  uint64_t ticks = 0, tickStep = 1000;
  // Runs at every pump, with its number counted from 1: where a Cancel click happens.
  std::function<void(int pump)> onPump;

  void SetCaption(const std::string& c) override { caption = c; }
  void SetLabel(const std::string& text) override { labels.push_back(label = text); }
  void SetPosition(int p) override { positions.push_back(p); }
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
  void BringToFront() override {}
  void Repaint() override {}
  int Width() override { return 361; }
  // Seven pixels a character.
  int TextWidth(const std::string& text) override { return 7 * static_cast<int>(text.size()); }
  void ProcessMessages() override {
    ++pumps;
    if (onPump) onPump(pumps);
  }
  uint64_t Ticks() override { return ticks += tickStep; }
};

}  // namespace vh::test
