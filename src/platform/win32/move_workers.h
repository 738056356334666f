#pragma once
// Moves files into place on worker threads: each move waits for the disk (its content is flushed
// before its new name is written), and the caller copies the next files meanwhile.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"

namespace vh::win32 {

class MoveWorkers {
 public:
  using Outcome = FileSystem::MoveOutcome;
  using MoveFn = std::function<Outcome(const std::string& source, const std::string& target, const std::string& keepAs)>;
  explicit MoveWorkers(MoveFn move) : move_(std::move(move)) {}
  ~MoveWorkers();
  MoveWorkers(const MoveWorkers&) = delete;
  MoveWorkers& operator=(const MoveWorkers&) = delete;

  void Begin(const std::string& source, const std::string& target, const std::string& keepAs);
  // The outcome of the oldest move not yet ended, once it is done; waits in short slices and
  // calls `whileWaiting` between them.
  Outcome End(const std::function<void()>& whileWaiting = nullptr);

 private:
  enum class State { Waiting, Running, Done };
  struct Job {
    std::string source, target, keepAs;
    State state = State::Waiting;
    Outcome outcome;
  };
  void Work();
  // The move, which fails rather than throws.
  Outcome Move(const Job& job);

  MoveFn move_;
  std::mutex mutex_;
  std::condition_variable waiting_, done_;
  std::deque<Job> jobs_;  // oldest first; a job stays until End takes it
  std::vector<std::thread> threads_;
  bool stopping_ = false;
};

}  // namespace vh::win32
