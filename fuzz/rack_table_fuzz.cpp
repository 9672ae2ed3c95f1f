// Reads arbitrary bytes as a .rack file and as a .rack.partial file, with
// the English, Spanish and Catalan bags and a rack size taken from the
// input, and checks the lookups on the result.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/tile_counts.hpp"
#include "tables/rack_tables.hpp"
#include "text/text_pane.hpp"

namespace {

// A small full-rack table keeps each run fast and fills up often.
constexpr std::size_t kSlots = 4099;

void useAlphabet(int alphabet) {
  pexil::setWordListAlphabet(alphabet);
  pexil::setAlphabetCounts(alphabet);
  pexil::setRackDistribution(alphabet);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = [] {
    pexil::textPane().SetQuiet(true);
    pexil::setFullRackTableCapacity(kSlots);
    return true;
  }();
  (void)ready;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const pexil::GameRules saved = pexil::rules();
  // Mostly seven tiles; now and then another size, up to beyond the 12
  // that keys can hold.
  if (size > 0 && data[0] >= 0xF0) pexil::rules().rackSize = 1 + data[0] % 16;

  for (int alphabet : {pexil::kAlphabetEnglish, pexil::kAlphabetSpanish, pexil::kAlphabetCatalan}) {
    useAlphabet(alphabet);
    const std::size_t racks = pexil::loadFullRackText(text);
    if (racks > kSlots || pexil::hasFullRackTable() != (racks > 0) || racks != pexil::fullRackTableSize()) __builtin_trap();
    const std::size_t leaves = pexil::loadLeaveText(text);
    if (leaves != pexil::leaveTableSize()) __builtin_trap();

    // Lookups of pieces of the input: a leave's value does not depend on
    // the order of its letters.
    for (std::size_t at = 0; at < size && at < 64; at += 5) {
      std::string piece(text.substr(at, 1 + data[at] % 9));
      const auto value = pexil::leaveValueOf(piece);
      std::reverse(piece.begin(), piece.end());
      if (pexil::leaveValueOf(piece) != value) __builtin_trap();
      if (pexil::leaveValueOrZero(piece) != value.value_or(0)) __builtin_trap();
      pexil::LetterCounts counts;
      pexil::addLetters(counts, piece, nullptr);
      (void)pexil::leaveValueOf(counts);
      (void)pexil::FullRackValue(counts);
    }
  }
  useAlphabet(pexil::kAlphabetEnglish);
  pexil::rules() = saved;
  return 0;
}
