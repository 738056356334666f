#include "platform/win32/move_workers.h"

#include <chrono>
#include <new>
#include <system_error>

namespace vh::win32 {
namespace {

// Two: one move's flush overlaps the next one's, and the disk takes their flushes together.
constexpr size_t kWorkers = 2;
// How long a wait goes before the caller's window is fed again.
constexpr std::chrono::milliseconds kSlice{30};

}  // namespace

MoveWorkers::~MoveWorkers() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  waiting_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void MoveWorkers::Begin(const std::string& source, const std::string& target) {
  std::unique_lock<std::mutex> lock(mutex_);
  // Started with the first move: most runs of the program copy nothing.
  try {
    while (threads_.size() < kWorkers) threads_.emplace_back([this] { Work(); });
  } catch (const std::system_error&) {
  }
  if (threads_.empty()) {  // no thread could start: the move is done here and now
    lock.unlock();
    const bool moved = Move(source, target);
    lock.lock();
    jobs_.push_back(Job{source, target, State::Done, moved});
    return;
  }
  jobs_.push_back(Job{source, target});
  lock.unlock();
  waiting_.notify_one();
}

bool MoveWorkers::Move(const std::string& source, const std::string& target) {
  try {
    return move_(source, target);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool MoveWorkers::End(const std::function<void()>& whileWaiting) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (jobs_.empty()) return false;  // nothing was begun
  const auto done = [this] { return jobs_.front().state == State::Done; };
  while (!done_.wait_for(lock, kSlice, done)) {
    if (!whileWaiting) continue;
    lock.unlock();
    whileWaiting();
    lock.lock();
  }
  const bool moved = jobs_.front().moved;
  jobs_.pop_front();
  return moved;
}

void MoveWorkers::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    Job* job = nullptr;
    waiting_.wait(lock, [&] {
      for (Job& candidate : jobs_) {
        if (candidate.state == State::Waiting) {
          job = &candidate;
          return true;
        }
      }
      return stopping_;
    });
    if (!job) return;
    // The job stays where it is until End takes it, after it is done.
    job->state = State::Running;
    lock.unlock();
    const bool moved = Move(job->source, job->target);
    lock.lock();
    job->moved = moved;
    job->state = State::Done;
    done_.notify_all();
  }
}

}  // namespace vh::win32
