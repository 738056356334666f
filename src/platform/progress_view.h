#pragma once
// The progress window of a long operation, told the run's work: what is done of how much, the
// item at hand, and asked whether the user wants to stop.
#include <cstdint>
#include <string>

namespace vh {

class ProgressView {
 public:
  virtual ~ProgressView() = default;
  // A run starts: nothing done yet and no stop asked. Nothing shows.
  virtual void Begin() = 0;
  // The window comes to the front with the run's caption and what it does before its first item.
  virtual void Show(const std::string& caption, const std::string& doing) = 0;
  // The item about to be handled ("Backing up: " and its path); `done` of `total` counts it.
  virtual void Item(const std::string& doing, const std::string& path, uint64_t done, uint64_t total) = 0;
  // Whether the user asked to stop. Asked often, between items and within a large file's copy:
  // the window answers the user here.
  virtual bool StopAsked() = 0;
  virtual void Hide() = 0;
};

}  // namespace vh
