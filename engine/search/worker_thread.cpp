#include "search/worker_thread.hpp"

#include <system_error>
#include <utility>

namespace pexil {

WorkerThread::WorkerThread(std::function<void()> work) {
  finished_.store(false, std::memory_order_release);
  try {
    thread_ = std::thread([this, work = std::move(work)] {
      work();
      finished_.store(true, std::memory_order_release);
    });
    started_ = true;
  } catch (const std::system_error&) {
    // No thread: the slot yields no result and the search goes on.
    finished_.store(true, std::memory_order_release);
  }
}

WorkerThread::~WorkerThread() { join(); }

void WorkerThread::join() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace pexil
