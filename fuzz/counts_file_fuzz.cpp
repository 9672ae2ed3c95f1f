// Reads arbitrary bytes as a counts file of the evaluation-data builder,
// then checks that what was kept writes out and reads back to the same
// sums, and that adding it to itself either works or is refused cleanly.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "counts.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace db = pexil::databuilder;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  db::EvalCounts counts;
  const db::ReadReport report = db::readCounts(text, counts);
  (void)report;

  const std::string written = db::writeCounts(counts);
  db::EvalCounts again;
  const db::ReadReport back = db::readCounts(written, again);
  if (back.skipped != 0 || !again.sameSums(counts)) __builtin_trap();

  // Twice the sums: refused only when a sum would overflow.
  db::EvalCounts twice = again;
  if (twice.add(counts)) {
    for (std::size_t p = 0; p < twice.games.size(); ++p) {
      if (twice.games[p] != 2 * counts.games[p]) __builtin_trap();
    }
  }
  return 0;
}
