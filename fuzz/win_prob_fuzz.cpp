// Reads arbitrary bytes as a win-probability table, in the five-field
// format of a word list's own file and in the four-field generic format,
// and checks what every finished table promises: tile counts 0..86 filled,
// every column within 0..100 and never falling as the lead grows, and
// lookups of any lead, tile count and blank counts inside that range.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "tables/win_prob.hpp"

namespace {

using Table = pexil::WinProbTable;

void check(const Table& table) {
  if (table.raw.size() != Table::kCells || table.smoothed.size() != Table::kCells) __builtin_trap();
  constexpr int columns = Table::kTileSlots * Table::kBlankStates;
  constexpr int filled = (Table::kMaxTiles + 1) * Table::kBlankStates;
  for (int i = 0; i < Table::kLeads; ++i) {
    const float* raw = table.raw.data() + Table::cell(i, 0, 0);
    const float* value = table.smoothed.data() + Table::cell(i, 0, 0);
    for (int c = 0; c < columns; ++c) {
      if (std::isnan(raw[c]) || raw[c] > 100.0f || (c < filled && raw[c] < 0.0f)) __builtin_trap();
      if (!(value[c] >= 0.0f && value[c] <= 100.0f)) __builtin_trap();
      if (i > 0 && value[c] < value[c - columns]) __builtin_trap();
    }
  }
}

int readInt(const std::uint8_t* data, std::size_t size, std::size_t at) {
  std::int32_t value = 0;
  if (at + sizeof value <= size) std::memcpy(&value, data + at, sizeof value);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Both formats read the input; the one that finds more records (the
  // five-field one on a tie) is finished and checked, which keeps a run
  // short enough for many runs a second.
  std::size_t used[2] = {0, 0};
  for (bool generic : {false, true}) {
    Table table;
    table.generic = generic;
    used[generic] = pexil::readWinProbRecords(table, text);
    // A record takes at least two bytes per field.
    if (used[generic] > size / (generic ? 8 : 10) + 1) __builtin_trap();
  }
  const bool generic = used[1] > used[0];
  const auto table = pexil::winProbTableFromText(text, generic);
  if (!table) return 0;
  check(*table);
  // Lookups with numbers taken from the input, far out of range too.
  for (std::size_t at = 0; at + 16 <= size && at < 256; at += 16) {
    const float percent = pexil::WinProb(*table, readInt(data, size, at), readInt(data, size, at + 4),
                                         readInt(data, size, at + 8), readInt(data, size, at + 12));
    if (!(percent >= 0.0f && percent <= 100.0f)) __builtin_trap();
  }
  return 0;
}
