#include "tools/strength_test.hpp"

#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>

#include "files/gcg_writer.hpp"
#include "files/rack_draw_ratings.hpp"
#include "movegen/adjustments.hpp"
#include "play/game_flow.hpp"
#include "rules/random.hpp"
#include "state/abort_flag.hpp"
#include "text/messages.hpp"
#include "text/program_version.hpp"
#include "text/text_pane.hpp"
#include "tools/tool_game.hpp"

namespace pexil {
namespace {

// A game should end long before this many turns; the cap only guards
// against a player that never ends it.
constexpr int kTurnCap = 400;

// The experimental flag and the game's thread count come back on every
// path out of the tests.
class StrengthScope {
 public:
  StrengthScope() : flag_(experimentalPlayFlag()) {}
  ~StrengthScope() { setExperimentalPlayFlag(flag_); }
  StrengthScope(const StrengthScope&) = delete;
  StrengthScope& operator=(const StrengthScope&) = delete;

 private:
  int flag_;
};

}  // namespace

std::array<double, 2> ArrvFigures(const Game& game, int redraws, std::uint32_t seed) {
  RackDrawOptions options;
  options.redraws = redraws;
  options.seed = seed;
  std::array<double, 2> sum{};
  std::array<int, 2> count{};
  for (const RackDrawRating& rating : RateRackDraws(game, options)) {
    if (rating.player < 0 || rating.player > 1) continue;
    sum[static_cast<std::size_t>(rating.player)] += rating.rating;
    ++count[static_cast<std::size_t>(rating.player)];
  }
  std::array<double, 2> arrv{};
  for (std::size_t p = 0; p < 2; ++p) arrv[p] = count[p] > 0 ? sum[p] / count[p] - 50.0 : 0.0;
  return arrv;
}

std::vector<std::string> StrengthNotes(const std::optional<BenchmarkRates>& rates, const std::array<double, 2>& arrv,
                                       std::time_t when) {
  std::vector<std::string> notes;
  bool available = rates.has_value();
  if (available) {
    for (const double r : *rates) available = available && r != 0;
  }
  if (available) {
    const BenchmarkRates& r = *rates;
    notes.push_back(FormatText("Benchmarks: %4.1f/%4.1f/%4.1f/%4.1f/%4.1f/%4.1f/%4.1f/%4.1f/%4.1f", r[0], r[1], r[2], r[3],
                               r[4], r[5], r[6], r[7], r[8]));
  } else {
    notes.emplace_back("No benchmark data available.");
  }
  notes.push_back(FormatText("ARRV: %+.2f / %+.2f", arrv[0], arrv[1]));
  static constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm utc{};
  gmtime_r(&when, &utc);
  notes.push_back(FormatText("%02d%s%d %02d:%02d:%02d", utc.tm_mday, kMonths[utc.tm_mon % 12], utc.tm_year + 1900,
                             utc.tm_hour, utc.tm_min, utc.tm_sec));
  return notes;
}

std::string StrengthPlayerName(bool experimental, int flag) {
  return FormatText("Pexil %s%s%d", kProgramVersion, experimental ? " xpf " : " no xpf ", flag);
}

StrengthOutcome RunStrengthTests(const StrengthOptions& options) {
  StrengthOutcome outcome;
  const ActiveRulesScope rulesBack;
  const StrengthScope scope;
  Mt19937 random;
  random.seed(options.seed != 0 ? options.seed
                                : static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  static constexpr const char* kTypes[2] = {"Scrabble(R) - American English", "Scrabble(R) - International English"};
  const std::string type = options.gameType.empty() ? kTypes[random.next() % 2] : options.gameType;
  Game game;
  if (!StartToolGame(game, type)) {
    PrintMessage(msg::GameTypeNotFound);
    return outcome;
  }
  // One thread for the whole test (the game's own count comes back with
  // the game, which is the test's own).
  game.threads = 1;
  int experimentalSeat = static_cast<int>(random.next() % 2);
  int flag = 0;
  for (int played = 0; options.games == 0 || played < options.games; ++played) {
    if (abortRequested()) break;
    if (played % 2 == 0) {
      flag = static_cast<int>(random.next() % 3);
    } else {
      experimentalSeat = 1 - experimentalSeat;
    }
    ResetGame(game);
    game.threads = 1;
    for (int p = 0; p < 2; ++p) {
      game.clocks[static_cast<std::size_t>(p)] = kStrengthClock;
      SetPlayerName(game, p, StrengthPlayerName(p == experimentalSeat, flag));
    }
    for (int turn = 0; !game.gameOver && !abortRequested() && turn < kTurnCap; ++turn) {
      setExperimentalPlayFlag(game.toMove == experimentalSeat ? flag : kXpfNone);
      if (options.playMove) {
        options.playMove(game);
      } else {
        PlayTimedMove(game);
      }
    }
    setExperimentalPlayFlag(kXpfNone);
    if (abortRequested() || !game.gameOver || game.history.empty()) {
      if (abortRequested()) break;
      continue;
    }
    for (std::string& note : StrengthNotes(options.benchmarks, ArrvFigures(game), std::time(nullptr))) {
      game.history.back().notes.push_back(std::move(note));
    }
    if (!WriteGcg(game, options.recordPath)) {
      PrintMessageF(msg::FileCannotWrite, options.recordPath.c_str());
      continue;
    }
    ++outcome.gamesFinished;
    {
      std::ifstream in(options.recordPath, std::ios::binary);
      outcome.lastRecord.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    PrintMessageF(msg::StrengthGameSaved, outcome.gamesFinished, options.recordPath.c_str(),
                  FormatText("%s %d, %s %d", playerName(game, 0).c_str(), game.scores[0], playerName(game, 1).c_str(),
                             game.scores[1])
                      .c_str());
    PrintMessage(msg::UploadStarting);
    PrintMessage(msg::UploadSeeResults);
    if (options.host.empty()) {
      PrintMessage(msg::UploadNotSetUp);
    } else if (UploadGame(options.host, options.port, options.recordPath) == 0) {
      ++outcome.uploaded;
    }
  }
  return outcome;
}

}  // namespace pexil
