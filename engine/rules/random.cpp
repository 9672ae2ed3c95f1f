#include "rules/random.hpp"

#include <climits>
#include <cstdio>
#include <ctime>
#include <cstring>
#include <mutex>
#include <vector>

namespace pexil {

void Mt19937::seed(std::uint32_t value) {
  state_[0] = value;
  for (int i = 1; i < kStateSize; ++i) {
    const std::uint32_t prev = state_[static_cast<std::size_t>(i - 1)];
    state_[static_cast<std::size_t>(i)] = 1812433253u * (prev ^ (prev >> 30)) + static_cast<std::uint32_t>(i);
  }
  index_ = kStateSize;
}

void Mt19937::seedByArray(const std::uint32_t* key, std::size_t length) {
  seed(19650218u);
  if (length == 0) return;  // the reference code would read key[0]: keep the plain seed
  std::size_t i = 1, j = 0;
  auto& mt = state_;
  for (std::size_t k = kStateSize > length ? kStateSize : length; k > 0; --k) {
    mt[i] = (mt[i] ^ ((mt[i - 1] ^ (mt[i - 1] >> 30)) * 1664525u)) + key[j] + static_cast<std::uint32_t>(j);
    ++i;
    ++j;
    if (i >= kStateSize) {
      mt[0] = mt[kStateSize - 1];
      i = 1;
    }
    if (j >= length) j = 0;
  }
  for (std::size_t k = kStateSize - 1; k > 0; --k) {
    mt[i] = (mt[i] ^ ((mt[i - 1] ^ (mt[i - 1] >> 30)) * 1566083941u)) - static_cast<std::uint32_t>(i);
    ++i;
    if (i >= kStateSize) {
      mt[0] = mt[kStateSize - 1];
      i = 1;
    }
  }
  mt[0] = 0x80000000u;
  index_ = kStateSize;
}

void Mt19937::twist() {
  constexpr int n = kStateSize, m = 397;
  constexpr std::uint32_t upper = 0x80000000u, lower = 0x7fffffffu, matrix = 0x9908b0dfu;
  auto& mt = state_;
  for (int k = 0; k < n; ++k) {
    const std::uint32_t y = (mt[static_cast<std::size_t>(k)] & upper) | (mt[static_cast<std::size_t>((k + 1) % n)] & lower);
    mt[static_cast<std::size_t>(k)] = mt[static_cast<std::size_t>((k + m) % n)] ^ (y >> 1) ^ ((y & 1u) ? matrix : 0u);
  }
  index_ = 0;
}

std::uint32_t Mt19937::next() {
  if (index_ >= kStateSize) twist();
  std::uint32_t y = state_[static_cast<std::size_t>(index_++)];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9d2c5680u;
  y ^= (y << 15) & 0xefc60000u;
  y ^= y >> 18;
  return y;
}

int nonNegative(std::uint32_t output) {
  if (output == 0x80000000u) return 0;
  const auto value = static_cast<std::int32_t>(output);
  return value < 0 ? -value : value;
}

namespace {

struct ProgramRandom {
  std::mutex mutex;
  Mt19937 generator;
  bool seeded = false;
  bool fixedSeed = false;
  std::uint32_t programSeed = 0;
  std::uint32_t derivedCount = 0;  // generators seeded so far
  std::uint32_t timeSeedings = 0;  // distinguishes generators seeded in the same instant

  std::vector<int> preDrawn;
  std::size_t preDrawnPosition = 0;
};

ProgramRandom& program() {
  static ProgramRandom state;
  return state;
}

std::uint32_t foldBytes(const void* data, std::size_t size, std::uint32_t h) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) h = h * 257u + bytes[i];
  return h;
}

// Seeds from the time when /dev/urandom is not available.
std::uint32_t timeSeed(std::uint32_t counter) {
  const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
  const std::uint32_t h1 = foldBytes(&now, sizeof now, 0);
  const auto ticks = static_cast<std::uint32_t>(std::clock());
  const std::uint32_t h2 = foldBytes(&ticks, sizeof ticks, 0);
  return (h1 + counter) ^ h2;
}

// Must be called with the program mutex held.
void seedLocked(ProgramRandom& p, Mt19937& generator) {
  if (p.fixedSeed) {
    const std::uint32_t key[2] = {p.programSeed, ++p.derivedCount};
    generator.seedByArray(key, 2);
    return;
  }
  std::uint32_t words[Mt19937::kStateSize];
  std::size_t got = 0;
  if (std::FILE* urandom = std::fopen("/dev/urandom", "rb")) {
    got = std::fread(words, sizeof words[0], Mt19937::kStateSize, urandom);
    std::fclose(urandom);
  }
  if (got == Mt19937::kStateSize) {
    generator.seedByArray(words, Mt19937::kStateSize);
  } else {
    generator.seed(timeSeed(p.timeSeedings++));
  }
}

// Must be called with the program mutex held.
Mt19937& programGenerator(ProgramRandom& p) {
  if (!p.seeded) {
    if (p.fixedSeed) {
      p.generator.seed(p.programSeed);
    } else {
      seedLocked(p, p.generator);
    }
    p.seeded = true;
  }
  return p.generator;
}

}  // namespace

void seedNewGenerator(Mt19937& generator) {
  ProgramRandom& p = program();
  std::lock_guard<std::mutex> lock(p.mutex);
  seedLocked(p, generator);
}

void setProgramSeed(std::uint32_t seed) {
  ProgramRandom& p = program();
  std::lock_guard<std::mutex> lock(p.mutex);
  p.fixedSeed = true;
  p.programSeed = seed;
  p.derivedCount = 0;
  p.generator.seed(seed);
  p.seeded = true;
  p.preDrawn.clear();
  p.preDrawnPosition = 0;
}

std::optional<std::uint32_t> programSeed() {
  ProgramRandom& p = program();
  std::lock_guard<std::mutex> lock(p.mutex);
  if (!p.fixedSeed) return std::nullopt;
  return p.programSeed;
}

int randomNonNegative() {
  ProgramRandom& p = program();
  std::lock_guard<std::mutex> lock(p.mutex);
  return nonNegative(programGenerator(p).next());
}

int nextPreDrawn() {
  ProgramRandom& p = program();
  std::lock_guard<std::mutex> lock(p.mutex);
  if (p.preDrawn.empty()) {
    Mt19937& generator = programGenerator(p);
    p.preDrawn.resize(kPreDrawnCount);
    for (int& value : p.preDrawn) value = nonNegative(generator.next());
  }
  const int value = p.preDrawn[p.preDrawnPosition];
  p.preDrawnPosition = (p.preDrawnPosition + 1) % kPreDrawnCount;
  return value;
}

int GameRandom::next() {
  if (usePreDrawn) return nextPreDrawn();
  if (!generator_) {
    generator_ = std::make_unique<Mt19937>();
    seedNewGenerator(*generator_);
  }
  return nonNegative(generator_->next());
}

void GameRandom::seed(std::uint32_t value) {
  usePreDrawn = false;
  if (!generator_) generator_ = std::make_unique<Mt19937>();
  generator_->seed(value);
}

void GameRandom::seed(const std::uint32_t* key, std::size_t length) {
  usePreDrawn = false;
  if (!generator_) generator_ = std::make_unique<Mt19937>();
  generator_->seedByArray(key, length);
}

}  // namespace pexil
