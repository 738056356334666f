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

namespace vh::win32 {

class MoveWorkers {
 public:
  using MoveFn = std::function<bool(const std::string& source, const std::string& target)>;
  explicit MoveWorkers(MoveFn move) : move_(std::move(move)) {}
  ~MoveWorkers();
  MoveWorkers(const MoveWorkers&) = delete;
  MoveWorkers& operator=(const MoveWorkers&) = delete;

  void Begin(const std::string& source, const std::string& target);
  // The outcome of the oldest move not yet ended, once it is done; waits in short slices and
  // calls `whileWaiting` between them.
  bool End(const std::function<void()>& whileWaiting = nullptr);

 private:
  enum class State { Waiting, Running, Done };
  struct Job {
    std::string source, target;
    State state = State::Waiting;
    bool moved = false;
  };
  void Work();
  // The move, which fails rather than throws.
  bool Move(const std::string& source, const std::string& target);

  MoveFn move_;
  std::mutex mutex_;
  std::condition_variable waiting_, done_;
  std::deque<Job> jobs_;  // oldest first; a job stays until End takes it
  std::vector<std::thread> threads_;
  bool stopping_ = false;
};

}  // namespace vh::win32
