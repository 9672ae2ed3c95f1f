// rate-draws: how lucky each player's rack draws were over a game record.
#include "rate_draws.hpp"

#include "commands.hpp"
#include "files/rack_draw_ratings.hpp"
#include "game_files.hpp"
#include "io/atomic_file.hpp"
#include "rules/random.hpp"
#include "terminal_sink.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::cli {
namespace {

constexpr int kMostRedraws = 1000000;

// The report's lines as one text, written whole or not at all.
bool writeWhole(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + '\n';
  return writeFileAtomically(path, text);
}

// The redraws' seed: the run's seed when one was given, so that a run can
// be repeated.
std::uint32_t ratingSeed() {
  if (const auto seed = programSeed()) return *seed;
  return static_cast<std::uint32_t>(randomNonNegative());
}

}  // namespace

bool rateDrawsAndReport(const Game& game, int redraws, const std::string& reportPath, int onlyPlayer) {
  RackDrawOptions options;
  options.redraws = redraws;
  options.seed = ratingSeed();
  options.onlyPlayer = onlyPlayer;
  const std::vector<std::string> lines = RackDrawReportLines(game, RateRackDraws(game, options));
  if (reportPath.empty()) {
    NoWrapPane noWrap;
    for (const std::string& line : lines) textPane().Print(line);
    return true;
  }
  if (!writeWhole(reportPath, lines)) {
    PrintMessageF(msg::CliCannotWrite, reportPath.c_str());
    return false;
  }
  PrintMessageF(msg::CliRatingsWritten, reportPath.c_str());
  return true;
}

void rateDrawsInPlay(const Game& game, const std::vector<std::string>& words, int user) {
  // A name may hold spaces: the rest of the line.
  std::string name;
  for (std::size_t i = 1; i < words.size(); ++i) name += (i > 1 ? " " : "") + words[i];
  rateDrawsAndReport(game, kRackDrawRedraws, name.empty() ? name : userFilePath(name), game.gameOver ? -1 : user);
}

int runRateDraws(const Arguments& args) {
  const char* usage = "rate-draws RECORD/POSITION [--move N] [--list NAME] [--draws N] [--out REPORT]";
  const auto options = parseOptions(args, {"--move", "--list", "--type", "--kind", "--draws", "--out"});
  if (!options) return 2;
  if (options->positional.size() != 1) {
    PrintMessageF(msg::CliBadOption, usage);
    return 2;
  }
  int redraws = kRackDrawRedraws;
  if (const auto text = options->value("--draws")) {
    const auto n = parseNumber(*text, 1, kMostRedraws);
    if (!n) {
      PrintMessageF(msg::CliBadOption, ("--draws " + *text).c_str());
      return 2;
    }
    redraws = static_cast<int>(*n);
  }
  NoWrapPane noWrap;
  ParsedOptions opening = *options;
  opening.values["--open"] = options->positional.front();
  opening.positional.clear();
  Game game;
  bool opened = false;
  if (!openFromOptions(game, opening, opened)) return 1;
  const auto out = options->value("--out");
  return rateDrawsAndReport(game, redraws, out ? userFilePath(*out) : std::string()) ? 0 : 1;
}

}  // namespace pexil::cli
