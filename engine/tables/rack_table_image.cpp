#include "tables/rack_table_image.hpp"

#include <type_traits>

#include "io/mapped_file.hpp"

namespace pexil {
namespace {

enum Section : std::uint32_t { kKey = 1, kSummary = 2, kFullRacks = 3, kLeaves = 4 };

static_assert(std::is_trivially_copyable_v<TableSlot> && sizeof(TableSlot) == 16);

struct Summary {
  std::uint64_t fullRacksUsed;
  std::uint64_t leavesUsed;
  std::uint32_t fullRackValues;
  std::int32_t rackLength;
};
static_assert(sizeof(Summary) == 24);

// A table as the lookups need it (see the header); false otherwise. One
// pass, starting after an empty slot, follows each run of used slots and
// checks that every key's first probe lies within its run, before it. The
// pass has no branch per slot: used and empty slots are about as common,
// and in no predictable order.
bool checkSlots(std::span<const TableSlot> slots, std::uint64_t used, BodyCheck& body) {
  if (slots.empty()) return used == 0;
  if (!std::has_single_bit(slots.size()) || used >= slots.size()) return false;
  const std::size_t n = slots.size(), mask = n - 1;
  const int shift = SlotTableView(slots, static_cast<std::size_t>(used)).shift();
  std::size_t empty = 0;
  while (empty < n && slots[empty].key != 0) ++empty;
  if (empty == n) return false;  // no empty slot: a missing key would probe forever
  std::uint64_t counted = 0;
  std::size_t runStart = (empty + 1) & mask;
  bool bad = false;
  auto pass = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      const TableSlot& s = slots[i];
      const bool occupied = s.key != 0;
      const std::size_t home = SlotTableView::home(s.key, shift);
      bad |= s.unused != 0;
      bad |= !occupied && s.value != 0;
      bad |= occupied && ((home - runStart) & mask) > ((i - runStart) & mask);
      counted += occupied ? 1 : 0;
      runStart = occupied ? runStart : ((i + 1) & mask);
      if ((i & 0xFFFF) == 0) body.reached(&s);
    }
  };
  pass(empty + 1, n);
  pass(0, empty + 1);
  body.reachedEnd(slots);
  return !bad && counted == used;
}

}  // namespace

ImageWriter rackTableImageWriter(const RackTableImageContent& content, std::string_view sourceKey) {
  ImageWriter writer(kRackTableImageKind, kRackTableImageVersion);
  writer.addOwned(kKey, 1, std::string(sourceKey));
  Summary summary{};
  summary.fullRacksUsed = content.fullRacks.used();
  summary.leavesUsed = content.leaves.used();
  summary.fullRackValues = content.fullRackValues ? 1 : 0;
  summary.rackLength = content.rackLength;
  writer.addOwned(kSummary, sizeof summary, std::string(reinterpret_cast<const char*>(&summary), sizeof summary));
  writer.addArray(kFullRacks, content.fullRacks.slots());
  writer.addArray(kLeaves, content.leaves.slots());
  return writer;
}

std::optional<RackTableImageContent> readRackTableImage(std::span<const std::byte> bytes, std::string_view sourceKey,
                                                        const MappedFile* pages, ImageRefusal& refusal) {
  const auto reader = ImageReader::open(bytes, kRackTableImageKind, kRackTableImageVersion, refusal);
  if (!reader) return std::nullopt;
  auto damaged = [&](const char* what) {
    refusal = {ImageProblem::damaged, what};
    return std::nullopt;
  };
  const auto key = reader->section(kKey);
  if (std::string_view(reinterpret_cast<const char*>(key.data()), key.size()) != sourceKey) {
    refusal = {ImageProblem::otherSources, {}};
    return std::nullopt;
  }
  const auto summary = reader->array<Summary>(kSummary);
  const auto full = reader->array<TableSlot>(kFullRacks);
  const auto leaves = reader->array<TableSlot>(kLeaves);
  if (!summary || summary->size() != 1 || !full || !leaves) return damaged("sections");
  const Summary& s = summary->front();
  if (s.fullRackValues > 1 || s.rackLength < 0 || s.rackLength > 12) return damaged("summary");
  // Values without racks, or racks without values, are not what a load
  // leaves behind.
  if ((s.fullRackValues == 1) != (s.fullRacksUsed > 0)) return damaged("summary");
  // The checks go through the tables in file order, hashing as they pass.
  BodyCheck body(bytes, reader->storedChecksum(), pages);
  if (!checkSlots(*full, s.fullRacksUsed, body)) return damaged("full-rack table");
  if (!checkSlots(*leaves, s.leavesUsed, body)) return damaged("leave table");
  if (!body.finish()) return damaged("checksum");
  RackTableImageContent content;
  content.fullRacks = SlotTableView(*full, static_cast<std::size_t>(s.fullRacksUsed));
  content.leaves = SlotTableView(*leaves, static_cast<std::size_t>(s.leavesUsed));
  content.fullRackValues = s.fullRackValues == 1;
  content.rackLength = s.rackLength;
  return content;
}

}  // namespace pexil
