#include "search/endgame_state.hpp"

#include <mutex>

namespace pexil {
namespace {

EndgameOptions options;
std::atomic<bool> greedier{false};
std::atomic<bool> timedOut{false};
std::atomic<long long> clockStart{0};
std::mutex rememberedLock;
std::optional<KeptMove> remembered;

long long nowMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

EndgameOptions& endgameOptions() { return options; }

bool greedierInEffect() { return greedier.load(std::memory_order_relaxed); }
void setGreedierInEffect(bool on) { greedier.store(on, std::memory_order_relaxed); }

bool endgameTimedOut() { return timedOut.load(std::memory_order_relaxed); }
void setEndgameTimedOut(bool value) { timedOut.store(value, std::memory_order_relaxed); }
bool markEndgameTimedOut() { return !timedOut.exchange(true, std::memory_order_relaxed); }

void startEndgameClock() { clockStart.store(nowMilliseconds(), std::memory_order_relaxed); }
long long endgameHundredths() { return (nowMilliseconds() - clockStart.load(std::memory_order_relaxed)) / 10; }

std::optional<Move> rememberedEndgameMove() {
  std::lock_guard<std::mutex> lock(rememberedLock);
  if (!remembered) return std::nullopt;
  return remembered->move();
}

void rememberEndgameMove(const Move& move) {
  std::lock_guard<std::mutex> lock(rememberedLock);
  remembered.emplace(move);
}

void forgetEndgameMove() {
  std::lock_guard<std::mutex> lock(rememberedLock);
  remembered.reset();
}

}  // namespace pexil
