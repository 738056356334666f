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

void MoveWorkers::Begin(const std::string& source, const std::string& target, const std::string& keepAs) {
  std::unique_lock<std::mutex> lock(mutex_);
  // Started with the first move: most runs of the program copy nothing.
  try {
    while (threads_.size() < kWorkers) threads_.emplace_back([this] { Work(); });
  } catch (const std::system_error&) {
  }
  Job job{source, target, keepAs};
  if (threads_.empty()) {  // no thread could start: the move is done here and now
    lock.unlock();
    job.outcome = Move(job);
    job.state = State::Done;
    lock.lock();
    jobs_.push_back(std::move(job));
    return;
  }
  jobs_.push_back(std::move(job));
  lock.unlock();
  waiting_.notify_one();
}

MoveWorkers::Outcome MoveWorkers::Move(const Job& job) {
  try {
    return move_(job.source, job.target, job.keepAs);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

MoveWorkers::Outcome MoveWorkers::End(const std::function<void()>& whileWaiting) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (jobs_.empty()) return {};  // nothing was begun
  const auto done = [this] { return jobs_.front().state == State::Done; };
  while (!done_.wait_for(lock, kSlice, done)) {
    if (!whileWaiting) continue;
    lock.unlock();
    whileWaiting();
    lock.lock();
  }
  const Outcome outcome = jobs_.front().outcome;
  jobs_.pop_front();
  return outcome;
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
    const Outcome outcome = Move(*job);
    lock.lock();
    job->outcome = outcome;
    job->state = State::Done;
    done_.notify_all();
  }
}

}  // namespace vh::win32
