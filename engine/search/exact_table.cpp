#include "search/exact_table.hpp"

#include <algorithm>
#include <atomic>
#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace pexil {
namespace {

// SplitMix64: a fixed sequence, so that keys (and with them the table's
// collisions) are the same on every run.
struct SplitMix {
  std::uint64_t state;
  std::uint64_t next() {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
  }
};

// Packing of an entry's data word: value (24 bits, offset), bound (2),
// final (1), depth (8), move (29).
constexpr int kValueBits = 24;
constexpr std::int64_t kValueOffset = std::int64_t{1} << (kValueBits - 1);
constexpr std::uint64_t kMoveMask = (std::uint64_t{1} << 29) - 1;

std::uint64_t pack(const ExactEntry& e) {
  const std::int64_t value = std::clamp<std::int64_t>(e.value, -kValueOffset + 1, kValueOffset - 1) + kValueOffset;
  std::uint64_t data = static_cast<std::uint64_t>(value);
  data |= static_cast<std::uint64_t>(e.bound) << 24;
  data |= static_cast<std::uint64_t>(e.final ? 1 : 0) << 26;
  data |= static_cast<std::uint64_t>(std::clamp(e.depth, 0, 255)) << 27;
  data |= (static_cast<std::uint64_t>(e.move) & kMoveMask) << 35;
  return data;
}

ExactEntry unpack(std::uint64_t data) {
  ExactEntry e;
  e.value = static_cast<int>(static_cast<std::int64_t>(data & ((std::uint64_t{1} << kValueBits) - 1)) - kValueOffset);
  e.bound = static_cast<ExactBound>((data >> 24) & 3);
  e.final = ((data >> 26) & 1) != 0;
  e.depth = static_cast<int>((data >> 27) & 255);
  e.move = static_cast<std::uint32_t>((data >> 35) & kMoveMask);
  return e;
}

}  // namespace

ExactKeys::ExactKeys() {
  SplitMix random{0x5eedf00dcafe1234ull};
  tiles_.resize(static_cast<std::size_t>(kSquares) * 32 * 2);
  for (auto& key : tiles_) key = random.next();
  rack_.resize(static_cast<std::size_t>(2) * 32 * kCounts);
  for (auto& key : rack_) key = random.next();
  for (auto& key : toMove_) key = random.next();
  for (auto& key : passes_) key = random.next();
}

namespace {

constexpr std::size_t kHugePage = std::size_t{1} << 21;

// Zeroed memory for the slots, handed out by the system page by page as
// it is first touched. On Linux in large pages where the system allows:
// the probes land all over the table, and with small pages nearly each
// one would also miss the address translation cache.
std::uint64_t* allocateWords(std::size_t bytes) {
#ifdef __linux__
  if (bytes >= kHugePage) {
    void* area = mmap(nullptr, bytes + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) return nullptr;
    // The first large-page boundary; the rest of the area is given back.
    const auto base = reinterpret_cast<std::uintptr_t>(area);
    const std::uintptr_t aligned = (base + kHugePage - 1) & ~(std::uintptr_t{kHugePage} - 1);
    if (aligned > base) munmap(area, aligned - base);
    const std::uintptr_t end = base + bytes + kHugePage;
    if (end > aligned + bytes) munmap(reinterpret_cast<void*>(aligned + bytes), end - (aligned + bytes));
    madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
    return reinterpret_cast<std::uint64_t*>(aligned);
  }
#endif
  return static_cast<std::uint64_t*>(std::calloc(bytes, 1));
}

}  // namespace

void ExactTable::FreeWords::operator()(std::uint64_t* words) const {
#ifdef __linux__
  if (bytes >= kHugePage) {
    munmap(words, bytes);
    return;
  }
#endif
  std::free(words);
}

ExactTable::ExactTable(int megabytes) {
  const std::uint64_t bytes = static_cast<std::uint64_t>(std::max(megabytes, 1)) << 20;
  std::uint64_t count = 1024;
  while (count * 4 * sizeof(std::uint64_t) <= bytes) count *= 2;
  // A smaller table when the memory is not there.
  for (; count >= 1024; count /= 2) {
    const std::size_t size = static_cast<std::size_t>(count * 2 * sizeof(std::uint64_t));
    words_ = std::unique_ptr<std::uint64_t[], FreeWords>(allocateWords(size), FreeWords{size});
    if (words_) break;
  }
  mask_ = words_ ? count - 1 : 0;
}

bool ExactTable::probe(std::uint64_t key, ExactEntry& entry) const {
  if (!words_) return false;
  std::uint64_t* slot = words_.get() + 2 * (key & mask_);
  const std::uint64_t data = std::atomic_ref<std::uint64_t>(slot[1]).load(std::memory_order_relaxed);
  const std::uint64_t check = std::atomic_ref<std::uint64_t>(slot[0]).load(std::memory_order_relaxed);
  if ((check ^ data) != key || data == 0) return false;
  entry = unpack(data);
  return entry.bound != ExactBound::none;
}

void ExactTable::store(std::uint64_t key, const ExactEntry& entry) {
  if (!words_) return;
  std::uint64_t* slot = words_.get() + 2 * (key & mask_);
  std::atomic_ref<std::uint64_t> check(slot[0]), dataWord(slot[1]);
  // A proved entry of the same position is kept against an unproved one.
  const std::uint64_t oldData = dataWord.load(std::memory_order_relaxed);
  const std::uint64_t oldCheck = check.load(std::memory_order_relaxed);
  if (!entry.final && (oldCheck ^ oldData) == key && oldData != 0 && unpack(oldData).final) return;
  const std::uint64_t data = pack(entry);
  dataWord.store(data, std::memory_order_relaxed);
  check.store(key ^ data, std::memory_order_relaxed);
}

}  // namespace pexil
