// Random numbers: the Mersenne Twister MT19937, the program-wide generator,
// the shared pre-drawn sequence, and each game's own generator slot.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace pexil {

class Mt19937 {
 public:
  static constexpr int kStateSize = 624;

  Mt19937() { seed(5489u); }
  void seed(std::uint32_t value);                                 // init_genrand
  void seedByArray(const std::uint32_t* key, std::size_t length);  // init_by_array
  std::uint32_t next();                                           // genrand_int32

 private:
  void twist();
  std::array<std::uint32_t, kStateSize> state_{};
  int index_ = kStateSize;
};

// The output read as a signed integer with its sign removed. The one output
// whose signed reading is -2^31 gives 0, so that every value 0..2^31-1 comes
// from exactly two outputs and the result stays uniform.
int nonNegative(std::uint32_t output);

// Seeds a new generator: from the program seed when one was set, otherwise
// from 624 words of /dev/urandom, otherwise from the time.
void seedNewGenerator(Mt19937& generator);

// Makes every run repeatable: the program-wide generator is seeded with
// `seed`, the pre-drawn sequence is drawn again from it, and every game
// generator created afterwards gets a seed derived from it.
void setProgramSeed(std::uint32_t seed);
// The program seed of a repeatable run, or none when the run draws fresh
// random numbers.
std::optional<std::uint32_t> programSeed();

// The program-wide generator (created on first use).
int randomNonNegative();

// The shared pre-drawn sequence: 1,048,576 values drawn once from the
// program-wide generator; each call returns the next one, wrapping round.
inline constexpr std::size_t kPreDrawnCount = 0x100000;
int nextPreDrawn();

// A game's own source of random numbers. A copy of a game gets an empty
// slot, so that it draws from a generator of its own.
class GameRandom {
 public:
  GameRandom() = default;
  GameRandom(const GameRandom& other) : usePreDrawn(other.usePreDrawn) {}
  GameRandom& operator=(const GameRandom& other) {
    if (this != &other) {
      usePreDrawn = other.usePreDrawn;
      generator_.reset();
    }
    return *this;
  }
  GameRandom(GameRandom&&) noexcept = default;
  GameRandom& operator=(GameRandom&&) noexcept = default;

  // Draws come from the shared pre-drawn sequence while this is set.
  bool usePreDrawn = false;

  int next();
  bool hasGenerator() const { return generator_ != nullptr; }

  // Gives this game a generator of its own seeded explicitly, so that its
  // tiles depend on that seed only, whatever other games the process
  // plays (so that a self-play game or one of a pair of games with swapped
  // seats can be replayed on its own). The key form seeds
  // from several words at once (e.g. a run's seed, a generation and a game
  // index). Draws stop coming from the pre-drawn sequence.
  void seed(std::uint32_t value);
  void seed(const std::uint32_t* key, std::size_t length);

 private:
  std::unique_ptr<Mt19937> generator_;
};

}  // namespace pexil
