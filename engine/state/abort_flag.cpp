#include "state/abort_flag.hpp"

#include <atomic>

namespace pexil {
namespace {
// Plain loads and stores: the searches only poll it.
std::atomic<bool> abortFlag{false};
}  // namespace

bool abortRequested() { return abortFlag.load(std::memory_order_relaxed); }
void requestAbort() { abortFlag.store(true, std::memory_order_relaxed); }
void clearAbort() { abortFlag.store(false, std::memory_order_relaxed); }

}  // namespace pexil
