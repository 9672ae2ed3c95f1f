// The worker threads of the searches: a started function with a flag that
// tells whether it has returned. A search starts its workers, joins them
// in order and reads their results; a worker whose thread could not be
// created counts as finished at once and produces nothing.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace pexil {

class WorkerThread {
 public:
  WorkerThread() = default;
  // Starts `work` on a new thread (StartWorker).
  explicit WorkerThread(std::function<void()> work);
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;
  // Joins the thread when it still runs.
  ~WorkerThread();

  // Whether the work has returned, or never started (WorkerFinished).
  bool finished() const { return finished_.load(std::memory_order_acquire); }
  // Whether a thread was created.
  bool started() const { return started_; }
  // Waits for the work to return (JoinWorker); at once when it never started.
  void join();

  // The next `count` workers of the process are refused their thread, as
  // when the system has none left to give: the searches' handling of that
  // failure can then be exercised on any machine.
  static void refuseNextStarts(int count);

 private:
  std::thread thread_;
  std::atomic<bool> finished_{true};
  bool started_ = false;
};

}  // namespace pexil
