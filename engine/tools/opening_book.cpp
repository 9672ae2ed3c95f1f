#include "tools/opening_book.hpp"

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "movegen/generator.hpp"
#include "net/http_get.hpp"
#include "play/game_flow.hpp"
#include "rules/notation.hpp"
#include "rules/random.hpp"
#include "search/fast_lookahead.hpp"
#include "search/simulation_state.hpp"
#include "state/abort_flag.hpp"
#include "text/messages.hpp"
#include "tools/tool_game.hpp"

namespace pexil {
namespace {

struct BookGame {
  const char* type;
  const char* lexicon;
};
constexpr BookGame kBookGames[2] = {{"Scrabble(R) - American English", "TWL06"},
                                    {"Scrabble(R) - International English", "CSW12"}};

// Waits up to `ms`, returning early when the user aborts.
void pause(int ms) {
  for (int waited = 0; waited < ms && !abortRequested(); waited += 50) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

}  // namespace

std::string OpeningRackUrl(const std::string& host, const std::string& lexicon) {
  return "http://" + host + "/pexil/gcg.cgi?rlexicon=" + lexicon;
}

std::string OpeningReportUrl(const std::string& host, const std::string& lexicon, const std::string& rack,
                             const Move& move, int ply) {
  const std::string played = std::string(move.word) + "%20" + movePosition(move.direction, move.column, move.row, false);
  return "http://" + host +
         FormatText("/pexil/gcg.cgi?move=%s&lex=%s&rack=%s&ply=%d&winp=%f&nsim=%d&eq=%f", played.c_str(), lexicon.c_str(),
                    rack.c_str(), ply, static_cast<double>(move.simValueB), move.simCount, move.equity / 10.0);
}

OpeningBookOutcome RunOpeningBook(const OpeningBookOptions& options) {
  OpeningBookOutcome outcome;
  if (options.host.empty()) {
    PrintMessage(msg::UploadNotSetUp);
    return outcome;
  }
  const ActiveRulesScope rulesBack;
  Mt19937 random;
  random.seed(options.seed != 0 ? options.seed
                                : static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  // One game per definition, set up when first drawn (a word list loads once).
  std::unique_ptr<Game> games[2];
  HttpGetOptions quiet;
  quiet.report = false;
  int failedInARow = 0;
  while (!abortRequested() && (options.cycles == 0 || outcome.cycles < options.cycles)) {
    const int pick = static_cast<int>(random.next() % 2);
    const BookGame& book = kBookGames[pick];
    if (!games[pick]) {
      auto game = std::make_unique<Game>();
      if (!StartToolGame(*game, book.type)) {
        PrintMessage(msg::GameTypeNotFound);
        return outcome;
      }
      games[pick] = std::move(game);
    } else {
      // The other definition's rules may be active.
      ActivateToolGameType(book.type);
    }
    Game& game = *games[pick];
    std::string reply;
    std::optional<std::string> rack;
    if (HttpGet(OpeningRackUrl(options.host, book.lexicon), reply, options.port, quiet) == 0) rack = ParseOpeningRack(reply);
    if (!rack) {
      ++outcome.failedRequests;
      if (options.maxFailedRequests > 0 && ++failedInARow >= options.maxFailedRequests) break;
      pause(options.retryPauseMs);
      continue;
    }
    failedInARow = 0;
    PrintMessageF(msg::OpeningRack, rack->c_str());
    ResetGame(game);
    game.threads = std::max(1, options.threads);
    if (!GiveRack(game, 0, *rack)) continue;
    game.quiet = true;
    {
      const IterationBudgetScope budget(static_cast<long long>(options.iterationsPerCandidate) * options.candidates);
      FastLookahead(game, options.ply, game.threads);
    }
    if (abortRequested()) break;
    const std::vector<Move>& list = activeList(game);
    const std::size_t shown = std::min<std::size_t>(5, list.size());
    for (std::size_t i = 0; i < shown; ++i) {
      const std::string url = OpeningReportUrl(options.host, book.lexicon, *rack, list[i], options.ply);
      std::string ignored;
      HttpGet(url, ignored, options.port, quiet);
      outcome.reports.push_back(url);
    }
    ++outcome.cycles;
  }
  return outcome;
}

}  // namespace pexil
