#include "search/worker_thread.hpp"

#include <system_error>
#include <utility>

namespace pexil {
namespace {
std::atomic<int> refusedStarts{0};

// Takes one refusal when some are left.
bool refusedByRequest() {
  int left = refusedStarts.load(std::memory_order_relaxed);
  while (left > 0 && !refusedStarts.compare_exchange_weak(left, left - 1, std::memory_order_relaxed)) {
  }
  return left > 0;
}
}  // namespace

void WorkerThread::refuseNextStarts(int count) { refusedStarts.store(count > 0 ? count : 0, std::memory_order_relaxed); }

WorkerThread::WorkerThread(std::function<void()> work) {
  finished_.store(false, std::memory_order_release);
  try {
    if (refusedByRequest()) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
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
