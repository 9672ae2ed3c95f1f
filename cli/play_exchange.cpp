#include "play_exchange.hpp"

#include "board_text_file.hpp"
#include "play_text.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "text/messages.hpp"

namespace pexil::cli {

std::optional<ExchangeRequest> readExchange(const Rack& rack, const std::string& typed, ExchangeTiles meaning) {
  ExchangeRequest request;
  if (typed.empty()) {
    request.wholeRack = true;
    return request;
  }
  const auto tiles = parseRackText(typed);
  if (!tiles) return std::nullopt;
  LetterCounts named;
  for (char c : *tiles) {
    const int code = codeOfTile(c);
    if (code < 0 || code >= kCodeSlots) continue;
    ++named[code];
    ++named[kTotalSlot];
  }
  for (int code = 0; code < kCodeSlots; ++code) {
    if (named[code] > rack[code]) {
      PrintMessageF(meaning == ExchangeTiles::kept ? msg::PlayKeepMissing : msg::PlayExchangeMissing, typed.c_str(),
                    rackText(rack).c_str());
      return std::nullopt;
    }
  }
  LetterCounts kept = named;
  if (meaning == ExchangeTiles::thrownBack) {
    for (int slot = 0; slot <= kTotalSlot; ++slot) kept[slot] = rack[slot] - named[slot];
  }
  request.keep = countsToText(kept).value_or(std::string());
  return request;
}

}  // namespace pexil::cli
