// The rack-value tables in the form they are looked up in, and their binary
// form (".rackbin" beside the .rack file), used in place from a read-only
// mapping (io/binary_image.hpp describes the container).
//
// Both tables are open-addressing tables of 16-byte slots: a power-of-two
// slot count, at most half of the slots used, linear probing from a
// multiplicative hash of the 64-bit rack key; key 0 marks an empty slot,
// whose value is 0.
//
// Sections: the source key (rack size, capacity, the distribution, the
// sizes and hashes of the .rack and .rack.partial files; built by the rack
// tables and compared bytewise), a summary (slots used in each table,
// whether the full-rack values hold, the full-rack length), the full-rack
// slots and the leave slots. Reading checks the header and checksum, the
// key, then each table: slot count a power of two with an empty slot,
// empty slots zero, the used count, and every key reachable from its first
// probe without crossing an empty slot.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "io/binary_image.hpp"

namespace pexil {

class MappedFile;

inline constexpr char kRackTableImageKind[] = "RACKTAB";
inline constexpr std::uint32_t kRackTableImageVersion = 1;

struct TableSlot {
  std::uint64_t key = 0;
  std::int32_t value = 0;
  std::int32_t unused = 0;
};

// Lookups in a table of slots held elsewhere.
class SlotTableView {
 public:
  SlotTableView() = default;
  SlotTableView(std::span<const TableSlot> slots, std::size_t used)
      : slots_(slots), used_(used), shift_(slots.empty() ? 64 : 64 - std::countr_zero(slots.size())) {}

  // The first slot probed for a key.
  static std::size_t home(std::uint64_t key, int shift) {
    return shift >= 64 ? 0 : static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift);
  }
  // The slot holding the key, or the empty slot where its probing ends.
  // Only for a table with slots (used() > 0 or a nonempty slot array).
  const TableSlot& probe(std::uint64_t key) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = home(key, shift_);
    while (slots_[i].key != 0 && slots_[i].key != key) i = (i + 1) & mask;
    return slots_[i];
  }
  // Asks the processor to fetch the slot a key's probing starts at.
  void prefetch(std::uint64_t key) const {
    if (used_ != 0) __builtin_prefetch(&slots_[home(key, shift_)]);
  }
  // The value listed for a key, or 0.
  int valueOrZero(std::uint64_t key) const { return used_ == 0 ? 0 : probe(key).value; }
  // The slot of a key, or none.
  const TableSlot* find(std::uint64_t key) const {
    if (used_ == 0 || key == 0) return nullptr;
    const TableSlot& s = probe(key);
    return s.key == key ? &s : nullptr;
  }

  std::size_t used() const { return used_; }
  std::span<const TableSlot> slots() const { return slots_; }
  int shift() const { return shift_; }

 private:
  std::span<const TableSlot> slots_;
  std::size_t used_ = 0;
  int shift_ = 64;
};

struct RackTableImageContent {
  SlotTableView fullRacks;
  SlotTableView leaves;
  bool fullRackValues = false;
  int rackLength = 0;
};

ImageWriter rackTableImageWriter(const RackTableImageContent& content, std::string_view sourceKey);

// Reads and checks an image (see above); with a mapping, pages are given
// back as the checks pass over them.
std::optional<RackTableImageContent> readRackTableImage(std::span<const std::byte> bytes, std::string_view sourceKey,
                                                        const MappedFile* pages, ImageRefusal& refusal);

}  // namespace pexil
