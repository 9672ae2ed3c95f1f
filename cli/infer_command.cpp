// infer: the guess of the opponent's rack from its last move in a position
// or game record, and the racks it lists, likeliest first.
#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "commands.hpp"
#include "game_files.hpp"
#include "search/known_racks.hpp"
#include "search/tile_inference.hpp"
#include "terminal_sink.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::cli {

// The distinct racks of the game's list with their share, likeliest first
// (equal shares in the order of the racks' tiles); `top` of them.
void printListedRacks(const Game& game, int top) {
  if (game.knownRacks.empty()) return;
  std::map<std::array<int, 33>, int> counts;
  for (const Rack& rack : game.knownRacks) ++counts[rack.counts];
  std::vector<std::pair<Rack, int>> racks;
  for (const auto& [tiles, count] : counts) {
    Rack rack;
    rack.counts = tiles;
    racks.emplace_back(rack, count);
  }
  std::stable_sort(racks.begin(), racks.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
  const int listed = KnownRackCount(game);
  PrintMessageF(msg::InferRacksListed, listed, static_cast<int>(racks.size()));
  for (std::size_t i = 0; i < racks.size() && static_cast<int>(i) < top; ++i) {
    PrintMessageF(msg::InferRackShare, tilesDisplayText(racks[i].first).c_str(), 100.0 * racks[i].second / listed);
  }
}

int runInfer(const Arguments& args) {
  const char* usage = "infer --open POSITION/RECORD [--move N] [--threads N] [--top N]";
  const auto options = parseOptions(args, {"--open", "--move", "--list", "--threads", "--top"}, {});
  if (!options) return 2;
  if (!options->value("--open") || !options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, usage);
    return 2;
  }
  long long threads = 0, top = 10;
  for (auto [name, low, high, value] : {std::tuple<const char*, long long, long long, long long*>{"--threads", 1, 256, &threads},
                                        std::tuple<const char*, long long, long long, long long*>{"--top", 0, 100000, &top}}) {
    const auto text = options->value(name);
    if (!text) continue;
    const auto n = parseNumber(*text, low, high);
    if (!n) {
      PrintMessageF(msg::CliBadOption, (std::string(name) + " " + *text).c_str());
      return 2;
    }
    *value = *n;
  }

  NoWrapPane noWrap;
  Game game;
  bool opened = false;
  int failure = 1;
  if (!openFromOptions(game, *options, opened, &failure)) return failure;
  if (game.playerCount <= 0) return 1;
  GuessOpponentRack(game, threads > 0 ? static_cast<int>(threads) : game.threads);
  printListedRacks(game, static_cast<int>(top));
  return 0;
}

}  // namespace pexil::cli
